#include "sim/SimSample.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {
// A soft edge 0.01 tile wide, so that pixels on a border see a partial amount.
double inside(double signedDistance) {
    return std::clamp(0.5 - signedDistance / 0.01, 0.0, 1.0);
}
}  // namespace

void SimSample::weights(double x, double y, double w[kSimComponents]) const {
    weightsInTile((x - originX_) / size_, (y - originY_) / size_, w);
}

void SimSample::weightsInTile(double u, double v, double w[kSimComponents]) {
    for (int c = 0; c < kSimComponents; ++c) w[c] = 0.0;
    w[kContinuum] = 1.0;
    if (u < 0.0 || u > 1.0 || v < 0.0 || v > 1.0) return;

    w[kTi] = 0.1 + 0.7 * u;

    // Fe disc centred at (0.28, 0.70), radius 0.17, concentration falling towards the rim.
    {
        const double r = std::hypot(u - 0.28, v - 0.70);
        w[kFe] = inside(r - 0.17) * (0.35 + 0.65 * std::max(0.0, 1.0 - r / 0.17));
    }
    // Cu ring centred at (0.72, 0.70) between radii 0.09 and 0.18.
    {
        const double r = std::hypot(u - 0.72, v - 0.70);
        w[kCu] = 0.85 * std::min(inside(r - 0.18), inside(0.09 - r));
    }
    // Zn triangle (0.55, 0.10), (0.90, 0.10), (0.725, 0.42).
    {
        const double base = v - 0.10;
        const double left = (0.42 - 0.10) * (u - 0.55) - (0.725 - 0.55) * (v - 0.10);
        const double right = (0.42 - 0.10) * (0.90 - u) - (0.90 - 0.725) * (v - 0.10);
        const double l = left / std::hypot(0.32, 0.175);
        const double rr = right / std::hypot(0.32, 0.175);
        w[kZn] = 0.75 * std::min({inside(-base), inside(-l), inside(-rr)});
    }
    // Pb cross centred at (0.28, 0.27): two bars 0.36 long and 0.08 wide.
    {
        const double du = std::fabs(u - 0.28);
        const double dv = std::fabs(v - 0.27);
        const double horizontal = std::min(inside(du - 0.18), inside(dv - 0.04));
        const double vertical = std::min(inside(dv - 0.18), inside(du - 0.04));
        w[kPb] = 0.8 * std::max(horizontal, vertical);
    }
}

}  // namespace qor
