// The service view's bands for its graphs and its list.
#include "service/service_view_layout.h"

#include "service/service_view_ids.h"

namespace {
constexpr int kSeriesGraphTop = 160;
constexpr int kSeriesGraphHeight = 140;
constexpr int kHistogramTop = 300;
constexpr int kHistogramHeight = 70;
constexpr int kListTop = 370;
}  // namespace

void LayOutServiceView(int width, int height, ServiceViewPlace (&places)[kServiceViewPlaces]) {
    const int listHeight = height > kListTop ? height - kListTop : 0;
    places[0] = {IDC_SERVICE_SERIES_GRAPH, 0, kSeriesGraphTop, width, kSeriesGraphHeight};
    places[1] = {IDC_SERVICE_HISTOGRAM, 0, kHistogramTop, width, kHistogramHeight};
    places[2] = {IDC_SERVICE_LIST, 0, kListTop, width, listHeight};
}
