#pragma once
// The main window's layout rules, as pure arithmetic on the outer window size.

#include <QRect>
#include <QSize>

namespace qor {

constexpr int kMinWindowWidth = 700;
constexpr int kMinWindowHeight = 400;
constexpr int kResetWidth = 1020;
constexpr int kResetHeight = 764;
// The pages that place their controls themselves are laid out for at least this outer size (the
// design size); a smaller window scrolls them.
constexpr int kDesignWidth = 1006;
constexpr int kDesignHeight = 702;

struct PanelSizes {
    int panel1Height = 0;   // top tool bar
    int panel2Width = 0;    // MCA page right panel
    int panel3Height = 0;   // MCA page bottom panel
    int panel5Height = 0;   // 2D SCAN page scan panel
};

struct WindowLayout {
    QSize pageMaster;   // W - 20, H - 130
    QSize spectrum;     // PaintBox1 and its back buffer
    QRect elementMap;   // PaintBoxElem / ImageElem: 400 x 504 at (5, 10)
    QRect map2D;        // PaintBox2D / Image2D: (S - 20) x S at (500, 10)
};

// Rules 1-4 for outer size W x H.
WindowLayout computeLayout(int W, int H, const PanelSizes& p);
// True when the window is smaller than the program can lay out (H < 400 or W < 700).
bool windowTooSmall(int W, int H);

}  // namespace qor
