#include "analysis/ResolutionFilter.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace qor {

double ResolutionCurve::fwhm(double channel) const {
    const double f2 = a + b * channel;
    return f2 > kMinFwhm * kMinFwhm ? std::sqrt(f2) : kMinFwhm;
}

namespace {

struct LineFit {
    double a = 0, b = 0;
    bool ok = false;
};

// Weighted straight line y = a + b x through the points with use[i].
LineFit weightedLine(const std::vector<double>& x, const std::vector<double>& y,
                     const std::vector<double>& w, const std::vector<char>& use) {
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        if (!use[i]) continue;
        sw += w[i];
        sx += w[i] * x[i];
        sy += w[i] * y[i];
        sxx += w[i] * x[i] * x[i];
        sxy += w[i] * x[i] * y[i];
    }
    LineFit f;
    const double det = sw * sxx - sx * sx;
    if (sw <= 0 || det <= 1e-12 * sw * sxx) return f;
    f.b = (sw * sxy - sx * sy) / det;
    f.a = (sy - f.b * sx) / sw;
    f.ok = true;
    return f;
}

}  // namespace

bool fitResolutionCurve(const double* channel, const double* fwhm, const double* fwhmError, int n,
                        ResolutionCurve& curve) {
    std::vector<double> x, y, w;
    for (int i = 0; i < n; ++i) {
        if (!(fwhm[i] > 0) || !(fwhmError[i] > 0) || !std::isfinite(fwhm[i] + fwhmError[i]))
            continue;
        x.push_back(channel[i]);
        y.push_back(fwhm[i] * fwhm[i]);
        const double s = 2.0 * fwhm[i] * fwhmError[i];   // error of FWHM^2
        w.push_back(1.0 / (s * s));
    }
    if (x.empty()) return false;
    std::vector<char> use(x.size(), 1);
    const auto meanWidth = [&]() {
        double sw = 0, sy = 0;
        for (size_t i = 0; i < x.size(); ++i)
            if (use[i]) { sw += w[i]; sy += w[i] * y[i]; }
        return sw > 0 ? sy / sw : y[0];
    };
    const auto spread = [&]() {
        double lo = 1e300, hi = -1e300;
        int count = 0;
        for (size_t i = 0; i < x.size(); ++i)
            if (use[i]) { lo = std::min(lo, x[i]); hi = std::max(hi, x[i]); ++count; }
        return count >= 3 ? hi - lo : 0.0;
    };
    for (int pass = 0; pass < 2; ++pass) {
        LineFit f;
        if (spread() >= 200.0) f = weightedLine(x, y, w, use);
        f.ok = f.ok && f.b >= 0.0;   // the width never shrinks with energy
        curve = f.ok ? ResolutionCurve{f.a, f.b} : ResolutionCurve{meanWidth(), 0.0};
        if (pass == 1) break;
        int kept = 0;
        for (size_t i = 0; i < x.size(); ++i) {
            const double model = curve.a + curve.b * x[i];
            use[i] = std::fabs(y[i] - model) <= 0.5625 * std::max(model, 1.0) ? 1 : 0;   // 25 % in FWHM
            kept += use[i];
        }
        if (kept == 0) std::fill(use.begin(), use.end(), 1);
    }
    return true;
}

namespace {

// The peak's own shape over -+2.5 standard deviations.
std::vector<double> kernel(double sigma) {
    const int h = std::max(1, int(std::ceil(2.5 * sigma)));
    std::vector<double> k(2 * h + 1);
    for (int j = -h; j <= h; ++j) {
        const double u = double(j) / sigma;
        k[j + h] = std::exp(-0.5 * u * u);
    }
    return k;
}

}  // namespace

void resolutionFilter(const double* counts, const double* background, int n,
                      const ResolutionCurve& curve, double widthFactor, double* response,
                      double* variance) {
    // Kernels by width in steps of 1/8 channel, built once per width met.
    std::map<int, std::vector<double>> kernels;
    for (int i = 0; i < n; ++i) {
        const double sigma = widthFactor * curve.fwhm(i) / kFwhmPerSigma;
        const int key = int(std::lround(sigma * 8.0));
        auto it = kernels.find(key);
        if (it == kernels.end()) it = kernels.emplace(key, kernel(key / 8.0)).first;
        const std::vector<double>& k = it->second;
        const int h = int(k.size() / 2);
        double r = 0, v = 0;
        for (int j = -h; j <= h; ++j) {
            const int c = std::clamp(i + j, 0, n - 1);
            const double kj = k[j + h];
            r += kj * (counts[c] - background[c]);
            v += kj * kj * std::max(counts[c], 0.0);
        }
        response[i] = r;
        variance[i] = v;
    }
}

std::vector<int> filterCandidates(const double* response, const double* variance, int n, int first,
                                  int last, double threshold, const ResolutionCurve& curve) {
    first = std::max(first, 1);
    last = std::min(last, n - 2);
    const auto z = [&](int i) { return variance[i] > 0 ? response[i] / std::sqrt(variance[i]) : 0.0; };
    std::vector<int> found;
    for (int i = first; i <= last; ++i) {
        const double zi = z(i);
        if (zi < threshold || zi < z(i - 1) || zi <= z(i + 1)) continue;
        if (!found.empty() && i - found.back() < 0.5 * curve.fwhm(i)) {
            if (zi > z(found.back())) found.back() = i;
            continue;
        }
        found.push_back(i);
    }
    return found;
}

}  // namespace qor
