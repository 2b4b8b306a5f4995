#include "analysis/SnipBackground.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qor {

void snipBackground(const double* counts, int n, const ResolutionCurve& curve, double widthFactor,
                    double* background) {
    if (n <= 0) return;
    std::vector<double> root(n), v(n), prefix(n + 1, 0.0);
    std::vector<int> width(n);
    for (int i = 0; i < n; ++i) {
        root[i] = std::sqrt(std::max(counts[i], 0.0));
        prefix[i + 1] = prefix[i] + root[i];
    }
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        const double f = curve.fwhm(i);
        const int h = std::min({int(std::lround(0.25 * f)), i, n - 1 - i});
        v[i] = (prefix[i + h + 1] - prefix[i - h]) / (2 * h + 1);
        width[i] = std::max(1, int(std::ceil(widthFactor * f)));
        widest = std::max(widest, width[i]);
    }
    const std::vector<double> smooth(v);
    std::vector<double> next(v);
    for (int p = widest; p >= 1; --p) {
        for (int i = p; i < n - p; ++i) {
            if (p > width[i]) continue;
            const double mean = 0.5 * (v[i - p] + v[i + p]);
            next[i] = std::min(v[i], mean);
        }
        std::copy(next.begin() + p, next.begin() + (n - p), v.begin() + p);
    }
    // Clipping follows the noise's lows: the clipped curve lies below the smoothed roots by
    // about the same amount everywhere (the roots' noise is the same everywhere). That amount is
    // the median distance between the two, peaks being a minority of the channels; it is added
    // back before squaring.
    std::vector<double> below(n);
    for (int i = 0; i < n; ++i) below[i] = smooth[i] - v[i];
    std::nth_element(below.begin(), below.begin() + n / 2, below.end());
    const double lift = std::max(0.0, below[n / 2]);
    for (int i = 0; i < n; ++i) background[i] = (v[i] + lift) * (v[i] + lift);
}

}  // namespace qor
