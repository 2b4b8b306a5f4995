#include "app/WindowLayout.h"

#include <algorithm>

namespace qor {

WindowLayout computeLayout(int W, int H, const PanelSizes& p) {
    WindowLayout l;
    l.pageMaster = QSize(std::max(0, W - 20), std::max(0, H - 130));
    l.spectrum = QSize(std::max(1, W - p.panel2Width - 40),
                       std::max(1, H - p.panel1Height - p.panel3Height - 130));
    l.elementMap = QRect(5, 10, 400, 504);
    const int S = std::max(21, std::min(W - 490, H - p.panel5Height - 180));
    l.map2D = QRect(500, 10, S - 20, S);
    return l;
}

bool windowTooSmall(int W, int H) { return H < kMinWindowHeight || W < kMinWindowWidth; }

}  // namespace qor
