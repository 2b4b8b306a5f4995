#include "analysis/PeakFit.h"

#include "analysis/ResolutionFilter.h"

#include <cminpack.h>

#include <algorithm>
#include <cmath>

namespace qor {

namespace {

constexpr double kSqrt2Pi = 2.5066282746310002;
// A width scale moves between these bounds through a sine, so that the solver cannot shrink a
// peak to one channel or widen it into the continuum.
constexpr double kScaleLow = 0.25, kScaleHigh = 4.0;

double scaleOf(double t) { return kScaleLow + (kScaleHigh - kScaleLow) * 0.5 * (1.0 + std::sin(t)); }
double scaleSlope(double t) { return (kScaleHigh - kScaleLow) * 0.5 * std::cos(t); }
double parameterOf(double scale) {
    const double u = std::clamp((scale - kScaleLow) / (kScaleHigh - kScaleLow) * 2.0 - 1.0, -1.0, 1.0);
    return std::asin(u);
}

// Parameters: offset, slope, then per peak centroid and area, then the width scales (one when
// tied, one per peak when free).
struct Problem {
    const PeakGroup* g;
    int mid;
    int scales;
    int widthIndex(int k) const { return 2 + 2 * g->peaks + (scales == 1 ? 0 : k); }
};

int evaluate(void* p, int m, int n, const double* x, double* fvec, double* fjac, int ldfjac, int iflag) {
    const Problem& pr = *static_cast<const Problem*>(p);
    const PeakGroup& g = *pr.g;
    const int peaks = g.peaks;
    // Per peak, once a call: its width, and the width's slope in its parameter.
    double sigma[kMaxGroupPeaks], dSigmaDt[kMaxGroupPeaks];
    for (int k = 0; k < peaks; ++k) {
        const int wi = pr.widthIndex(k);
        sigma[k] = (pr.scales ? scaleOf(x[wi]) : 1.0) * g.fwhm[k] / kFwhmPerSigma;
        dSigmaDt[k] = pr.scales ? scaleSlope(x[wi]) * g.fwhm[k] / kFwhmPerSigma : 0.0;
    }
    if (iflag == 2) std::fill(fjac, fjac + size_t(ldfjac) * n, 0.0);
    for (int r = 0; r < m; ++r) {
        const int c = g.lo + r;
        const double w = 1.0 / std::sqrt(g.variance[c]);
        double model = g.fixed[c] + x[0] + x[1] * (c - pr.mid);
        if (iflag == 2) {
            fjac[r] = -w;
            fjac[r + ldfjac] = -w * (c - pr.mid);
        }
        for (int k = 0; k < peaks; ++k) {
            const double mu = x[2 + 2 * k], area = x[3 + 2 * k];
            const double d = (c - mu) / sigma[k];
            if (std::fabs(d) > 8.0) continue;
            const double shape = std::exp(-0.5 * d * d) / (sigma[k] * kSqrt2Pi);
            model += area * shape;
            if (iflag == 2) {
                fjac[r + size_t(2 + 2 * k) * ldfjac] = -w * area * shape * d / sigma[k];
                fjac[r + size_t(3 + 2 * k) * ldfjac] = -w * shape;
                if (!pr.scales) continue;
                const double dSigma = area * shape * (d * d - 1.0) / sigma[k];
                fjac[r + size_t(pr.widthIndex(k)) * ldfjac] += -w * dSigma * dSigmaDt[k];
            }
        }
        if (iflag == 1) fvec[r] = (g.counts[c] - model) * w;
    }
    return 0;
}

}  // namespace

double GroupFit::peaksAt(int c) const {
    double sum = 0;
    for (const FittedPeak& p : peak) {
        if (p.fwhm <= 0) continue;
        const double sigma = p.fwhm / kFwhmPerSigma;
        const double d = (c - p.centroid) / sigma;
        if (std::fabs(d) <= 8.0) sum += p.area * std::exp(-0.5 * d * d) / (sigma * kSqrt2Pi);
    }
    return sum;
}

GroupFit fitPeakGroup(const PeakGroup& g, FitWork& work) {
    GroupFit out;
    if (g.peaks <= 0 || g.peaks > kMaxGroupPeaks || !g.counts || !g.fixed || !g.variance) return out;
    const int scales = g.fixedWidth ? 0 : g.freeWidth ? g.peaks : 1;
    const int n = 2 + 2 * g.peaks + scales;
    const int m = g.hi - g.lo + 1;
    if (m <= n) return out;
    Problem pr{&g, (g.lo + g.hi) / 2, scales};

    work.x.assign(n, 0.0);
    for (int k = 0; k < g.peaks; ++k) {
        work.x[2 + 2 * k] = g.centroid[k];
        work.x[3 + 2 * k] = g.area[k];
    }
    for (int k = 0; k < scales; ++k) work.x[2 + 2 * g.peaks + k] = parameterOf(1.0);
    work.fvec.resize(m);
    work.fjac.resize(size_t(m) * n);
    work.wa.resize(4 * size_t(n) + m);
    work.diag.resize(n);
    work.qtf.resize(n);
    work.ipvt.resize(n);
    int nfev = 0, njev = 0;
    double* wa = work.wa.data();
    const int info = lmder(evaluate, &pr, m, n, work.x.data(), work.fvec.data(), work.fjac.data(), m,
                           1e-8, 1e-8, 0.0, 100 * (n + 1), work.diag.data(), 1, 100.0, 0, &nfev,
                           &njev, work.ipvt.data(), work.qtf.data(), wa, wa + n, wa + 2 * n,
                           wa + 3 * n);
    if (info <= 0) return out;

    double chi2 = 0;
    for (int r = 0; r < m; ++r) chi2 += work.fvec[r] * work.fvec[r];
    // inverse(J^T J): the parameters' covariance, the weights being the counts' variances.
    covar(n, work.fjac.data(), m, work.ipvt.data(), 1e-12, wa);
    const auto var = [&](int j) { return std::max(0.0, work.fjac[size_t(j) + size_t(j) * m]); };

    out.ok = std::isfinite(chi2);
    out.chi2 = chi2;
    out.dof = m - n;
    out.mid = pr.mid;
    out.offset = work.x[0];
    out.slope = work.x[1];
    for (int k = 0; k < g.peaks; ++k) {
        FittedPeak& p = out.peak[k];
        const int wi = pr.widthIndex(k);
        p.centroid = work.x[2 + 2 * k];
        p.centroidError = std::sqrt(var(2 + 2 * k));
        p.area = work.x[3 + 2 * k];
        p.areaError = std::sqrt(var(3 + 2 * k));
        p.fwhm = scales ? scaleOf(work.x[wi]) * g.fwhm[k] : g.fwhm[k];
        p.fwhmError = scales ? std::fabs(scaleSlope(work.x[wi])) * g.fwhm[k] * std::sqrt(var(wi)) : 0.0;
        out.ok = out.ok && std::isfinite(p.centroid + p.area + p.fwhm);
    }
    return out;
}

}  // namespace qor
