// How wide a list must be to show each of its texts whole, computed from widths the screen measured.
#pragma once
#include <vector>

namespace platform {

// The widest text plus padding (the list's own margins and scroll bar), never
// narrower than least; most caps it (the screen's width), 0 for no cap.
int WidthForWholeTexts(const std::vector<int>& textWidths, int least, int padding, int most);

}  // namespace platform
