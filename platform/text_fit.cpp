// The width that shows every text of a list whole.
#include "platform/text_fit.h"

#include <algorithm>

namespace platform {

int WidthForWholeTexts(const std::vector<int>& textWidths, int least, int padding, int most) {
    int widest = 0;
    for (int w : textWidths) widest = std::max(widest, w);
    int width = std::max(least, widest + padding);
    if (most > 0) width = std::min(width, std::max(least, most));
    return width;
}

}  // namespace platform
