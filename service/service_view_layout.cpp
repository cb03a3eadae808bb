// The service view's bands for its graphs and its list.
#include "service/service_view_layout.h"

#include "platform/screen_scale.h"
#include "service/service_view_ids.h"

namespace {
constexpr int kSeriesGraphTop = 160;
constexpr int kSeriesGraphHeight = 140;
constexpr int kHistogramTop = 300;
constexpr int kHistogramHeight = 70;
constexpr int kListTop = 370;
}  // namespace

void LayOutServiceView(int width, int height, int dpi, ServiceViewPlace (&places)[kServiceViewPlaces]) {
    auto scaled = [dpi](int pixels) { return platform::ScaleToDpi(pixels, dpi); };
    const int listTop = scaled(kListTop);
    const int listHeight = height > listTop ? height - listTop : 0;
    places[0] = {IDC_SERVICE_SERIES_GRAPH, 0, scaled(kSeriesGraphTop), width, scaled(kSeriesGraphHeight)};
    places[1] = {IDC_SERVICE_HISTOGRAM, 0, scaled(kHistogramTop), width, scaled(kHistogramHeight)};
    places[2] = {IDC_SERVICE_LIST, 0, listTop, width, listHeight};
}
