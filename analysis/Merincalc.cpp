#include "analysis/Merincalc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Constant tables

const float CMerinCalcc::SmoothingTable[6][8] = {
    {17.0f, 12.0f, -3.0f},                               // polynomial, 5 points
    {7.0f, 6.0f, 3.0f, -2.0f},                           // polynomial, 7 points
    {59.0f, 54.0f, 39.0f, 14.0f, -21.0f},                // polynomial, 9 points
    {0.403f, 0.244f, 0.0545f},                           // Gaussian, 5 points
    {0.283f, 0.221f, 0.106f, 0.031f},                    // Gaussian, 7 points
    {0.204f, 0.180f, 0.124f, 0.0665f, 0.028f},           // Gaussian, 9 points
};
const float CMerinCalcc::SmoothingDivisor[6] = {35.0f, 21.0f, 231.0f, 1.0f, 1.0f, 1.0f};

const int32_t CMerinCalcc::DerivativeFilterTable[6][7] = {
    {-10, -1, 5, 1},                       // Gaussian-shaped, 7 points
    {-10, -3, 4, 3, 1},                    // Gaussian-shaped, 9 points
    {-8, -5, -1, 4, 3, 2, 1},              // Gaussian-shaped, 13 points
    {-4, -3, 0, 5},                        // polynomial, 7 points
    {-20, -17, -8, 7, 28},                 // polynomial, 9 points
    {-14, -13, -10, -5, 2, 11, 22},        // polynomial, 13 points
};
const int32_t CMerinCalcc::VarianceWeightTable[6][7] = {
    {100, 1, 25, 0},
    {100, 9, 16, 9, 1},
    {64, 25, 1, 16, 9, 4, 1},
    {16, 9, 0, 25},
    {400, 289, 64, 49, 784},
    {196, 169, 100, 25, 4, 121, 484},
};
const int32_t CMerinCalcc::FilterTaps[6] = {4, 5, 7, 4, 5, 7};

// ---------------------------------------------------------------------------------------------
// Shared storage: one engine state for every instance.

namespace {

constexpr int kPad = 16;   // zero channels on either side of SourceData, never written
constexpr int kSearchCandidates = 256;   // candidates of each kind one search keeps
constexpr int kMaxDipSpan = 64;          // channels between two entries of one peak, at most
constexpr double kValleySigmas = 3.0;    // a dip in the counts that parts two peaks

struct SearchScratch {
    double position[2 * kSearchCandidates] = {};
    double net[2 * kSearchCandidates] = {};
    double background[2 * kSearchCandidates] = {};
    double error[2 * kSearchCandidates] = {};
    double fwhm[2 * kSearchCandidates] = {};
    int32_t low[2 * kSearchCandidates] = {};
    int32_t high[2 * kSearchCandidates] = {};
};

struct EngineState {
    int32_t sourcePadded[kPad + CMerinCalcc::kChannels + kPad] = {};
    int32_t* SourceData = sourcePadded + kPad;
    int32_t ResultData[CMerinCalcc::kChannels] = {};
    double FitMatrix[CMerinCalcc::kFitSize][CMerinCalcc::kFitSize] = {};   // [column][row]
    int32_t fitSize = 0;

    // Smoothing: half width and table row of the last call.
    int32_t smoothHalf = 0;
    int32_t smoothRow = 0;

    // Peak search: filter row and taps, the last filter value, its variance and threshold, the
    // candidate (deepest channel of the current dip) and the number of peaks written.
    int32_t row = 0;
    int32_t taps = 4;
    int64_t F = 0;
    double V = 0.0;
    double T = 0.0;
    int32_t candidate = 0;
    int64_t candidateValue = 0;
    int32_t pending = 0;     // a candidate waits for its evaluation
    int32_t count = 0;
    // Candidates of one search and their evaluated entries before thinning.
    int32_t dipCandidates[kSearchCandidates] = {};
    int32_t turnCandidates[kSearchCandidates] = {};
    int32_t searchChannels[2 * kSearchCandidates] = {};
    int searchOrder[2 * kSearchCandidates] = {};
    bool searchKept[2 * kSearchCandidates] = {};
    SearchScratch scratch;

    // Peak evaluation scratch: background points, peak values, centroid and background line.
    double bgX[8] = {};
    double bgY[8] = {};
    double peakValues[4] = {};
    double centroid = 0.0;
    double lineB0 = 0.0;
    double lineB1 = 0.0;
};

EngineState& engine() {
    static EngineState state;
    return state;
}

inline bool inside(int64_t ch) { return ch >= 0 && ch < CMerinCalcc::kChannels; }

// Filter value and variance at ch with the coefficients c and weights w of one row, padded
// with zeros to 7 taps; every read lies within ch +- 6, so ch must lie inside
// -kPad + 6 .. kChannels + kPad - 7 (the zero guard bands).
inline void filterFast(const int32_t* S, const int64_t (&c)[7], const int64_t (&w)[7], int64_t ch,
                       int64_t& F, double& V) {
    const int64_t y0 = S[ch];
    int64_t f = c[0] * y0;
    int64_t v = w[0] * y0;
#pragma GCC unroll 6
    for (int i = 1; i < 7; ++i) {
        const int64_t sum = int64_t(S[ch + i]) + S[ch - i];
        f += c[i] * sum;
        v += w[i] * sum;
    }
    F = f;
    V = static_cast<double>(v);
}

// One weighted-smoothing pass over channels lo..hi, step by step through the whole range, with
// the running accumulator kept in R (see Smooth).
__attribute__((optimize("tree-vectorize"))) void smoothSteps(const int32_t* __restrict S,
                                                            int32_t* __restrict R, int64_t lo,
                                                            int64_t hi, const float* c, int h,
                                                            double divisor) {
    const double c0 = c[0];
    for (int64_t i = lo; i <= hi; ++i) R[i] = static_cast<int32_t>(static_cast<double>(S[i]) * c0);
    for (int k = 1; k < h; ++k) {
        const double ck = c[k];
        for (int64_t i = lo; i <= hi; ++i)
            R[i] = static_cast<int32_t>(static_cast<double>(R[i]) +
                                        static_cast<double>(S[i + k]) * ck +
                                        static_cast<double>(S[i - k]) * ck);
    }
    for (int64_t i = lo; i <= hi; ++i) R[i] = static_cast<int32_t>(static_cast<double>(R[i]) / divisor);
}

}  // namespace

int32_t CMerinCalcc::y(int64_t ch) const { return inside(ch) ? engine().SourceData[ch] : 0; }

int32_t CMerinCalcc::SetSource(int32_t index, int32_t value) {
    if (inside(index)) engine().SourceData[index] = value;
    return 0;
}

int32_t CMerinCalcc::GetSource(int32_t index) const { return y(index); }

int32_t CMerinCalcc::GetResult(int32_t index) const {
    return inside(index) ? engine().ResultData[index] : 0;
}

double CMerinCalcc::fitMatrixEntry(int col, int row) const {
    if (col < 1 || col >= kFitSize || row < 1 || row >= kFitSize) return 0.0;
    return engine().FitMatrix[col][row];
}

// ---------------------------------------------------------------------------------------------
// Smoothing

int32_t CMerinCalcc::Smooth(int32_t kind, int32_t points, int32_t last) {
    if (points < 2) return -1;
    EngineState& e = engine();
    const int32_t* S = e.SourceData;
    int32_t* R = e.ResultData;
    const int64_t first = int64_t(points) + 1;
    const int64_t end = int64_t(last) - points - 1;

    // The edges are copied unchanged (indices outside the arrays are left out).
    const int64_t edge = std::min<int64_t>(points, kChannels);
    for (int64_t i = 0; i <= edge; ++i) {
        if (inside(i)) R[i] = S[i];
        const int64_t j = int64_t(last) - i;
        if (inside(j)) R[j] = S[j];
    }

    if (kind == 2) {
        e.smoothHalf = 3;
    } else if (kind == 0 || kind == 1) {
        const int base = kind == 0 ? 0 : 3;
        if (points == 5) { e.smoothHalf = 3; e.smoothRow = base; }
        else if (points == 7) { e.smoothHalf = 4; e.smoothRow = base + 1; }
        else if (points == 9) { e.smoothHalf = 5; e.smoothRow = base + 2; }
    }

    // Smoothed channels stay inside the output array; reads reach 4 channels beyond, into the
    // zero guard bands.
    const int64_t lo = std::max<int64_t>(first, 0);
    const int64_t hi = std::min<int64_t>(end, kChannels - 1);
    if (kind == 2) {
        for (int64_t i = lo; i <= hi; ++i) {
            const int64_t acc = 3 * int64_t(S[i]) + (2 * int64_t(S[i + 1]) + S[i - 1]) +
                                (2 * int64_t(S[i + 2]) + S[i - 2]);
            // acc / 9 + 0.5 can never lie within rounding distance of an integer, so the
            // double product truncates exactly as an extended one would.
            R[i] = static_cast<int32_t>(static_cast<double>(acc) * (1.0 / 9.0) + 0.5);
        }
    } else {
        const float* c = SmoothingTable[e.smoothRow];
        const double divisor = SmoothingDivisor[e.smoothRow];
        const int h = e.smoothHalf;
        // The accumulator truncates toward zero after every step (conversions to an integer
        // do). While every count is below 2^23 the accumulator fits 32 bits (weights up to 59,
        // a row's sum up to 231), and each step runs over the whole range at once in
        // ResultData, which lets the compiler use vector instructions; otherwise each channel
        // runs with a 64-bit accumulator. Both do the same operations in the same order.
        int32_t maxAbs = 0;
        for (int64_t i = lo - h; i <= hi + h; ++i)
            maxAbs = std::max(maxAbs, S[i] < 0 ? (S[i] == INT32_MIN ? INT32_MAX : -S[i]) : S[i]);
        if (maxAbs < (1 << 23)) {
            smoothSteps(S, R, lo, hi, c, h, divisor);
        } else {
            for (int64_t i = lo; i <= hi; ++i) {
                int64_t acc = static_cast<int64_t>(static_cast<double>(S[i]) * c[0]);
                for (int k = 1; k < h; ++k) {
                    const double ck = c[k];
                    acc = static_cast<int64_t>(static_cast<double>(acc) +
                                               static_cast<double>(S[i + k]) * ck +
                                               static_cast<double>(S[i - k]) * ck);
                }
                R[i] = static_cast<int32_t>(static_cast<double>(acc) / divisor);
            }
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Filter and narrow-peak search

void CMerinCalcc::FilterAt(int32_t ch, double k) {
    EngineState& e = engine();
    int64_t F = 0;
    int64_t v = 0;
    const int32_t* c = DerivativeFilterTable[e.row];
    const int32_t* w = VarianceWeightTable[e.row];
    F = c[0] * int64_t(y(ch));
    v = w[0] * int64_t(y(ch));
    for (int i = 1; i < e.taps; ++i) {
        const int64_t up = y(int64_t(ch) + i), down = y(int64_t(ch) - i);
        F += c[i] * (up + down);
        v += w[i] * up + w[i] * down;
    }
    e.F = F;
    e.V = static_cast<double>(v);
    e.T = -k * std::sqrt(std::max(0.0, e.V));
}

int64_t CMerinCalcc::filterValue() const { return engine().F; }
double CMerinCalcc::filterVariance() const { return engine().V; }
double CMerinCalcc::filterThreshold() const { return engine().T; }

int32_t CMerinCalcc::SearchPeaks(const double params[5], double* position, double* net,
                                 double* background, double* error, double* fwhm, int32_t* low,
                                 int32_t* high) {
    EngineState& e = engine();
    const double rowValue = std::trunc(params[0]);
    if (!(rowValue >= 0.0 && rowValue < kFilterRows)) return e.count;
    const auto toInt = [](double v) {
        if (!(v == v)) return int64_t(0);
        return static_cast<int64_t>(std::clamp(std::trunc(v), -1e12, 1e12));
    };
    const int64_t firstCh = toInt(params[1]);
    const int64_t endCh = toInt(params[2]);
    const int64_t maxPeaks = std::clamp<int64_t>(toInt(params[3]), 0, kMaxPeaks);
    const double k = params[4];

    e.row = static_cast<int32_t>(rowValue);
    e.taps = FilterTaps[e.row];
    e.count = 0;
    e.candidate = 0;
    e.candidateValue = 0;
    e.pending = 0;

    // Channels far outside the spectrum read only zeros: their filter value is 0 and never
    // significant, so the scan can leave them out.
    const int64_t from = std::max<int64_t>(firstCh, -8);
    const int64_t to = std::min<int64_t>(endCh, kChannels + 8);
    const int32_t* S = e.SourceData;

    // Candidates come from two readings of the filter, and both are evaluated:
    //
    // - Dips. Each dip of the filter below the threshold yields one candidate, its deepest
    //   channel. The dip's minimum counts as passed once the filter has risen above it by more
    //   than kTurnSigmas standard deviations of the filter's own noise, or once the filter has
    //   stayed above the threshold for more than twice `taps` channels (shorter quiet stretches
    //   are noise inside one dip, whose deeper part may follow). After a candidate the next one
    //   needs the filter to fall, below the threshold, by that margin under the highest value
    //   reached since, or a new run of significant channels after more than `taps` quiet ones.
    // - Turns. The candidate follows the deepest channel of each run of significant channels
    //   and is taken where the filter turns upward inside the run (one channel is then passed
    //   over) or where the run ends. This finds shoulders and close doublets that merge into
    //   one dip of a wide filter, and it takes a wiggle of the filter as a second candidate.
    //
    // The evaluated entries are then thinned: measurable entries (a width and net counts) and
    // the stronger ones first, an entry is dropped when it is the same peak as one kept (below).
    // The entries left are returned in channel order, at most maxPeaks.
    constexpr double kTurnSigmas = 6.0;
    const int dipGap = 2 * e.taps;   // a pending dip ends after this many quiet channels
    const int runGap = e.taps;       // after an evaluation, the run ends after these
    enum { kIdle, kTracking, kAfterPeak } phase = kIdle;
    int64_t ridge = 0;   // highest filter value since the last evaluation
    int quiet = 0;       // consecutive channels above the threshold
    // The loop keeps its state in locals and hands it to the shared storage at the end.
    int64_t F = 0;
    double V = 0.0;
    int32_t candidate = 0;
    int64_t candidateValue = 0;
    bool pending = false;
    int32_t* const dips = e.dipCandidates;
    int dipCount = 0;
    const auto take = [&]() {
        if (dipCount < kSearchCandidates) dips[dipCount++] = candidate;
        pending = false;
    };
    const auto track = [&](int64_t ch) {
        pending = true;
        candidate = static_cast<int32_t>(ch);
        candidateValue = F;
        phase = kTracking;
    };

    int64_t coef[7] = {}, weight[7] = {};
    for (int i = 0; i < e.taps; ++i) {
        coef[i] = DerivativeFilterTable[e.row][i];
        weight[i] = VarianceWeightTable[e.row][i];
    }
    const double k2 = k * k;
    // F < -k sqrt(V), without the square root: for k >= 0 it holds exactly when F < 0 and
    // F^2 > k^2 V.
    const auto significantNow = [&]() {
        const double v = V > 0.0 ? V : 0.0;
        if (k >= 0.0) {
            const double f = static_cast<double>(F);
            return F < 0 && f * f > k2 * v;
        }
        return static_cast<double>(F) < -k * std::sqrt(v);
    };
    for (int64_t ch = from; ch <= to; ++ch) {
        filterFast(S, coef, weight, ch, F, V);
        const bool significant = significantNow();
        quiet = significant ? 0 : quiet + 1;
        if (phase == kIdle && !significant) continue;
        const double margin = kTurnSigmas * std::sqrt(V > 0.0 ? V : 0.0);
        switch (phase) {
            case kIdle:
                track(ch);
                break;
            case kTracking:
                if (significant && F <= candidateValue) {
                    candidate = static_cast<int32_t>(ch);
                    candidateValue = F;
                } else if (static_cast<double>(F - candidateValue) > margin) {
                    take();
                    phase = kAfterPeak;
                    ridge = F;
                } else if (quiet > dipGap) {
                    take();
                    phase = kIdle;
                }
                break;
            case kAfterPeak:
                if (F > ridge) ridge = F;
                if (significant && static_cast<double>(ridge - F) > margin) track(ch);
                else if (quiet > runGap) phase = kIdle;
                break;
        }
    }
    if (pending) take();
    e.F = F;
    e.V = V;
    e.T = -k * std::sqrt(V > 0.0 ? V : 0.0);
    e.candidate = candidate;
    e.candidateValue = candidateValue;
    e.pending = pending ? 1 : 0;

    // Turns: the run's deepest channel so far is the candidate; it is taken when the filter
    // turns upward (the next channel is passed over), or when the next run starts or the search
    // ends with it still waiting.
    int32_t* const turns = e.turnCandidates;
    int turnCount = 0;
    {
        int64_t cand = std::numeric_limits<int64_t>::min();
        int64_t candValue = 0;
        bool waiting = false;
        const auto takeTurn = [&]() {
            if (waiting && turnCount < kSearchCandidates)
                turns[turnCount++] = static_cast<int32_t>(cand);
        };
        for (int64_t ch = from; ch <= to; ++ch) {
            filterFast(S, coef, weight, ch, F, V);
            if (!significantNow()) continue;
            if (cand + 1 != ch) {
                takeTurn();
                waiting = true;
            } else if (F > candValue) {
                takeTurn();
                waiting = false;
                cand = ch;
                candValue = F;
                ++ch;   // passed over
                continue;
            }
            cand = ch;
            candValue = F;
            waiting = true;
        }
        takeTurn();
    }

    // Every distinct candidate channel, in channel order, evaluated into the scratch entries.
    int32_t* const chans = e.searchChannels;
    int n = 0;
    for (int i = 0, j = 0; i < dipCount || j < turnCount;) {
        const bool fromDips = j >= turnCount || (i < dipCount && dips[i] <= turns[j]);
        const int32_t c = fromDips ? dips[i++] : turns[j++];
        if (n == 0 || chans[n - 1] != c) chans[n++] = c;
    }
    SearchScratch& x = e.scratch;
    for (int i = 0; i < n; ++i) {
        e.count = i;
        evaluateCandidate(chans[i], x.position, x.net, x.background, x.error, x.fwhm, x.low,
                          x.high);
    }

    // Thinning: strongest measurable entries first; an entry that is the same peak as one
    // already kept is dropped.
    int* const order = e.searchOrder;
    const auto measurable = [&x](int i) { return x.fwhm[i] > 0.0 && x.net[i] > 0.0; };
    for (int i = 0; i < n; ++i) order[i] = i;
    std::sort(order, order + n, [&](int a, int b) {
        if (measurable(a) != measurable(b)) return measurable(a);
        if (x.net[a] != x.net[b]) return x.net[a] > x.net[b];
        return a < b;
    });
    // Two entries are two peaks when their centres lie 1.5 channels or more apart and, between
    // their candidate channels, either the filter rises above the value at each candidate by
    // more than kTurnSigmas of its noise there (the same margin that ends a dip: a shoulder has
    // its own dip of the filter), or the counts fall clearly below both tops (a doublet that a
    // wide filter merges into one dip). A wiggle of the filter inside one peak's dip, or a
    // second candidate on its way up, has neither.
    const auto mean3 = [this](int64_t c) { return (double(y(c - 1)) + y(c) + y(c + 1)) / 3.0; };
    const auto countsDipBetween = [&](int64_t a, int64_t b) {
        // Each top is the highest three-channel mean within a channel of its candidate.
        const auto top3 = [&](int64_t c) {
            return std::max(mean3(c), std::max(mean3(c - 1), mean3(c + 1)));
        };
        const double top = std::min(top3(a), top3(b));
        double lowest = top;
        for (int64_t c = a + 2; c <= b - 2; ++c) lowest = std::min(lowest, mean3(c));
        return lowest < top - kValleySigmas * std::sqrt(std::max(top, 1.0) / 3.0);
    };
    const auto filterAt = [&](int64_t ch, int64_t& f, double& v) {
        filterFast(S, coef, weight, std::clamp<int64_t>(ch, -8, kChannels + 8), f, v);
    };
    const auto samePeak = [&](int i, int j) {
        if (std::fabs(x.position[i] - x.position[j]) < 1.5) return true;
        int64_t a = chans[i], b = chans[j];
        if (a > b) std::swap(a, b);
        if (b - a > 2 * kMaxDipSpan) return false;
        int64_t fa, fb, f;
        double va, vb, v;
        filterAt(a, fa, va);
        filterAt(b, fb, vb);
        int64_t ridge = std::numeric_limits<int64_t>::min();
        for (int64_t c = a + 1; c < b; ++c) {
            filterAt(c, f, v);
            ridge = std::max(ridge, f);
        }
        if (ridge == std::numeric_limits<int64_t>::min()) return true;   // neighbours
        const double ma = kTurnSigmas * std::sqrt(std::max(va, 0.0));
        const double mb = kTurnSigmas * std::sqrt(std::max(vb, 0.0));
        if (static_cast<double>(ridge - fa) > ma && static_cast<double>(ridge - fb) > mb)
            return false;
        return !countsDipBetween(a, b);
    };
    bool* const kept = e.searchKept;
    for (int i = 0; i < n; ++i) kept[i] = false;
    for (int oi = 0; oi < n; ++oi) {
        const int i = order[oi];
        bool same = false;
        for (int oj = 0; oj < oi && !same; ++oj) {
            const int j = order[oj];
            same = kept[j] && samePeak(i, j);
        }
        kept[i] = !same;
    }
    int32_t count = 0;
    for (int i = 0; i < n && count < maxPeaks; ++i) {
        if (!kept[i]) continue;
        position[count] = x.position[i];
        net[count] = x.net[i];
        background[count] = x.background[i];
        error[count] = x.error[i];
        fwhm[count] = x.fwhm[i];
        low[count] = x.low[i];
        high[count] = x.high[i];
        ++count;
    }
    e.count = count;
    return e.count;
}

void CMerinCalcc::evaluateCandidate(int32_t c, double* position, double* net,
                                    double* background, double* error, double* fwhm,
                                    int32_t* low, int32_t* high) {
    EngineState& e = engine();
    const int32_t idx = e.count;

    // 1. Centroid: the vertex of the log-parabola through the three channels around the
    // candidate. It is a peak's centre only where that parabola opens downward (L2 > 0), and it
    // is held within one channel of the candidate: on a noisy flank the vertex of a nearly
    // straight parabola can lie anywhere.
    const double ym = y(int64_t(c) - 1), y0 = y(c), yp = y(int64_t(c) + 1);
    double d = 0.0;
    if (ym != 0.0 && yp != 0.0) {
        const double L2 = std::log(y0 * y0 / (yp * ym));
        if (L2 > 0.0) d = 0.5 * std::log(yp / ym) / L2;
    }
    if (!std::isfinite(d)) d = 0.0;   // counts of mixed sign (a WORK difference)
    d = std::clamp(d, -1.0, 1.0);
    const double x0 = c + d;
    e.centroid = x0;

    // 2. First Gaussian on the raw counts.
    double g[4];
    for (int j = 0; j < 4; ++j) {
        const double v = y(int64_t(c) - 1 + j);
        g[j] = v < 0.0 ? 1.0 : v;
    }
    double w1, h1, a1;
    FitGaussian(x0, c, g[0], g[1], g[2], g[3], w1, h1, a1);

    // 3.-5. Background points at H..H+3 channels either side, with the valley rules.
    const int32_t H = static_cast<int32_t>(std::trunc((3.0 * w1 + 2.9) * 0.5));
    for (int j = 0; j < 4; ++j) {
        e.bgX[j] = -H - 3 + j;       // -H-3, -H-2, -H-1, -H
        e.bgX[4 + j] = H + j;        //  H, H+1, H+2, H+3
        e.bgY[j] = y(int64_t(c) + static_cast<int64_t>(e.bgX[j]));
        e.bgY[4 + j] = y(int64_t(c) + static_cast<int64_t>(e.bgX[4 + j]));
    }
    if (e.bgY[0] > e.bgY[1] && e.bgY[1] > e.bgY[2] && e.bgY[2] > e.bgY[3]) {
        double m = y(int64_t(c) - H);
        for (int j = 1; j <= 3; ++j) m = std::min<double>(m, y(int64_t(c) - H + j));
        for (int j = 0; j < 4; ++j) e.bgY[j] = m;
    }
    if (e.bgY[4] < e.bgY[5] && e.bgY[5] < e.bgY[6] && e.bgY[6] < e.bgY[7]) {
        double m = y(int64_t(c) + H);
        for (int j = 1; j <= 3; ++j) m = std::min<double>(m, y(int64_t(c) + H - j));
        for (int j = 4; j < 8; ++j) e.bgY[j] = m;
    }

    // 6. Straight background line through the eight points.
    FitPolynomial(e.bgX, e.bgY, 8, 1);
    GetCoefficient(0, e.lineB0);
    GetCoefficient(1, e.lineB1);
    const double b0 = e.lineB0, b1 = e.lineB1;

    // 7.-8. Second Gaussian on the net values.
    for (int j = 0; j < 4; ++j) {
        const double z = y(int64_t(c) - 1 + j) - (b0 + b1 * (j - 1));
        e.peakValues[j] = z < 0.0 ? 1.0 : z;
    }
    double w, h, A;
    FitGaussian(x0, c, e.peakValues[0], e.peakValues[1], e.peakValues[2], e.peakValues[3], w, h,
                A);

    // 9.-12. ROI edges, background under the peak, error.
    low[idx] = static_cast<int32_t>(std::trunc(c - 1.6 * w));
    high[idx] = static_cast<int32_t>(std::trunc(c + 1.8 * w));
    const int32_t iL = static_cast<int32_t>(std::trunc(-1.4 * w));
    const int32_t iR = static_cast<int32_t>(std::trunc(1.6 * w));
    double B = 0.0;
    for (int32_t i = iL; i <= iR; ++i) B += b1 * i + b0;
    double err = 0.0;
    if (A > 0.0) {
        const double v = 0.5 * (iR - iL + 1) * B + (A + B);
        err = v > 0.0 ? std::sqrt(v) : 0.0;   // a negative background leaves no error to show
    }
    position[idx] = x0;
    background[idx] = B;
    error[idx] = err;
    net[idx] = A;
    fwhm[idx] = w;
    e.count = idx + 1;
}

// ---------------------------------------------------------------------------------------------
// Gaussian fit

void CMerinCalcc::FitGaussian(double x0, int32_t c, double g0, double g1, double g2, double g3,
                              double& width, double& height, double& area) {
    const double g[4] = {g0 > 0.0 ? g0 : 1.0, g1 > 0.0 ? g1 : 1.0, g2 > 0.0 ? g2 : 1.0,
                         g3 > 0.0 ? g3 : 1.0};
    double Su = 0.0, Suu = 0.0, SL = 0.0, SuL = 0.0;
    for (int j = 0; j < 4; ++j) {
        const double dx = (static_cast<double>(c) - 1 + j) - x0;
        const double u = dx * dx;
        const double L = std::log(g[j]);
        Su += u;
        Suu += u * u;
        SL += L;
        SuL += u * L;
    }
    const double D = 4.0 * Suu - Su * Su;
    const double N = 4.0 * SuL - Su * SL;
    if (D == 0.0 || N == 0.0) {
        width = height = area = 0.0;
        return;
    }
    const double b = N / D;
    const double a = (SL - Su * b) * 0.25;
    width = b < 0.0 ? std::sqrt(-2.773 / b) : 0.0;
    height = std::exp(a);
    area = 1.064 * width * height;
    if (width > 20.0) width = 0.0;
}

// ---------------------------------------------------------------------------------------------
// Wide-peak search

int32_t CMerinCalcc::FindPeakCandidates(int32_t points, int32_t minRun, int32_t first,
                                        int32_t end, int32_t* out) {
    EngineState& e = engine();
    std::memset(e.ResultData, 0, sizeof e.ResultData);
    const int64_t K = std::clamp<int64_t>(points / 2, 0, kChannels + kPad);
    int64_t run = 0;
    int sign = -1;
    int32_t found = 0;
    const int64_t from = std::max<int64_t>(first, 0);
    const int64_t to = std::min<int64_t>(int64_t(end) - 1, kChannels - 1);
    for (int64_t ch = from; ch <= to && found < kMaxCandidates; ++ch) {
        float D = 0.0f;
        for (int64_t k = 1; k <= K; ++k)
            D += static_cast<float>(k) * static_cast<float>(int64_t(y(ch + k)) - y(ch - k));
        e.ResultData[ch] = static_cast<int32_t>(std::clamp<double>(std::trunc(D), -2147483648.0,
                                                                   2147483647.0));
        if (D > 0.0f) {
            ++run;
            sign = 1;
        } else if (sign > 0) {
            if (run > minRun) {
                int32_t best = 0;
                int32_t bestCh = 0;
                for (int64_t j = ch - 10; j <= ch + 9; ++j) {
                    if (y(j) > best) {
                        best = y(j);
                        bestCh = static_cast<int32_t>(j);
                    }
                }
                out[found++] = bestCh;
            }
            run = 0;
            sign = -1;
        }
    }
    return found;
}

int32_t CMerinCalcc::MeasurePeak(int32_t width, int32_t start, int32_t channels, int32_t& peak,
                                 int32_t& low, int32_t& high, double& net, double& background,
                                 double& fwhm, double& error) {
    int32_t result = 0;
    const int64_t w = width, b = start, n = channels;
    const auto S5 = [this](int64_t i) {
        return int64_t(y(i - 2)) + y(i - 1) + y(i) + y(i + 1) + y(i + 2);
    };

    // 1. The channel of the largest five-channel sum within +-w of the start.
    int64_t p = b;
    int64_t best = S5(b);
    int64_t lo = b - w;
    if (lo < 0) lo = 20;
    int64_t hi = b + w;
    if (hi > n) hi = n - 20;
    for (int64_t i = std::max<int64_t>(lo, -2); i < std::min<int64_t>(hi, kChannels + 2); ++i) {
        const int64_t s = S5(i);
        if (s > best) {
            best = s;
            p = i;
        }
    }

    // 2. Left edge: walk down while the five channels below are lower than the edge.
    int64_t limit = p - 3 * w;
    if (limit < 6) limit = 6;
    int64_t q = p - w;
    int64_t cur = (int64_t(y(q)) + y(q + 1)) / 2;
    for (;;) {
        const int64_t a =
            (int64_t(y(q - 1)) + y(q - 2) + y(q - 3) + y(q - 4) + y(q - 5)) / 5;
        if (a < cur) --q;
        else break;
        if (q <= limit || q < 10) break;
        cur = (int64_t(y(q)) + y(q + 1)) / 2;
    }
    if (q < 2) q = 2;
    int64_t L = q;

    // 3. Right edge, mirrored.
    limit = p + 3 * w;
    q = p + w;
    cur = (int64_t(y(q)) + y(q - 1)) / 2;
    for (;;) {
        const int64_t a =
            (int64_t(y(q + 1)) + y(q + 2) + y(q + 3) + y(q + 4) + y(q + 5)) / 5;
        if (a < cur) ++q;
        else break;
        if (q >= limit || q > n - 10) break;
        cur = (int64_t(y(q)) + y(q - 1)) / 2;
    }
    if (q > n) q = n - 10;
    int64_t R = q;

    // 4. Background line anchored on the raw count at L.
    const int64_t yL = (int64_t(y(L)) + y(L - 1) + y(L + 1)) / 3;
    const int64_t yR = (int64_t(y(R)) + y(R + 1) + y(R - 1)) / 3;
    const int64_t span = R - L + 1;
    const double s = span != 0 ? static_cast<double>(yR - yL) / static_cast<double>(span) : 0.0;
    const double anchor = y(L);

    // 5. Four blocks of w/4 channels above the line, around the peak.
    const int64_t r = std::min<int64_t>(w / 4, kChannels);
    double B[4] = {0.0, 0.0, 0.0, 0.0};
    const int64_t blockStart[4] = {p - 2 * r + 1, p - r + 1, p + 1, p + r + 1};
    for (int k = 0; k < 4; ++k) {
        for (int64_t j = 0; j < r; ++j) {
            const int64_t i = blockStart[k] + j;
            B[k] += y(i) - anchor - static_cast<double>(i - L) * s;
        }
        if (B[k] < 1.0) {
            B[k] = 1.0;
            result = -1;
        }
    }

    // 6.-7. Block centroid and the Gaussian through the blocks.
    double d = 0.0;
    const double den = std::log(B[1] * B[1] / (B[2] * B[0]));
    if (den != 0.0) d = 0.5 * std::log(B[2] / B[0]) / den;
    double wb, hb, ab;
    FitGaussian(static_cast<double>(p) + d, static_cast<int32_t>(p), B[0], B[1], B[2], B[3], wb,
                hb, ab);

    // 8. The peak's window narrowed to three block widths either side.
    if (ab != 0.0) {
        L = std::max<int64_t>(L, static_cast<int64_t>(std::trunc(p - 3.0 * r * wb)));
        R = std::min<int64_t>(R, static_cast<int64_t>(std::trunc(p + 3.0 * r * wb)));
    }

    // 9.-11. Gross, trapezoid background, net, width and error.
    int64_t G = 0;
    for (int64_t i = L; i <= R; ++i) G += y(i);
    const int64_t Bk = ((int64_t(y(L)) + y(R)) * (R - L + 1)) / 2;
    const int64_t netCounts = G - Bk;
    double width2 = static_cast<double>(r) * wb;
    const double E = 0.5 * static_cast<double>(R - L + 1) * static_cast<double>(Bk) +
                     static_cast<double>(netCounts + Bk);
    double err = 0.0;
    if (E > 0.0) err = std::sqrt(E);
    else width2 = 0.0;

    const auto toInt32 = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    peak = toInt32(p);
    low = toInt32(L);
    high = toInt32(R);
    net = static_cast<double>(netCounts);
    background = static_cast<double>(Bk);
    fwhm = width2;
    error = err;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Polynomial least squares

int32_t CMerinCalcc::FitPolynomial(const double* x, const double* y, int32_t n, int32_t d) {
    EngineState& e = engine();
    std::memset(e.FitMatrix, 0, sizeof e.FitMatrix);
    if (d < 0 || d > kMaxFitDegree) {
        e.fitSize = 2;   // reads the cleared column: every coefficient 0
        return -1;
    }
    const int m = d + 1;
    e.fitSize = m + 1;
    double (&M)[kFitSize][kFitSize] = e.FitMatrix;   // M[column][row]

    // Refuse what the elimination cannot solve: fewer distinct channels than coefficients, or
    // values that are not finite.
    double distinct[kFitSize];
    int nDistinct = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return -1;
        if (nDistinct < m && std::find(distinct, distinct + nDistinct, x[i]) == distinct + nDistinct)
            distinct[nDistinct++] = x[i];
    }
    if (nDistinct < m) return -1;

    // 2. Power sums: row 1 and column m, and the right-hand side in column m + 1.
    for (int32_t i = 0; i < n; ++i) {
        const double xi = x[i];
        double v = 1.0;
        double w = y[i];
        for (int l = 1; l <= m; ++l) {
            M[l][1] += v;
            M[m + 1][l] += w;
            v *= xi;
            w *= xi;
        }
        for (int l = 2; l <= m; ++l) {
            M[m][l] += v;
            v *= xi;
        }
    }
    // 3. The rest of the Hankel matrix.
    for (int r = 1; r <= d; ++r)
        for (int l = 1; l <= d; ++l) M[l][r + 1] = M[l + 1][r];
    // 4. Gauss-Jordan elimination without pivoting.
    for (int s = 1; s <= m; ++s) {
        const double p = M[s][s];
        for (int l = 1; l <= m + 1; ++l) M[l][s] /= p;
        for (int r = 1; r <= m; ++r) {
            if (r == s) continue;
            const double f = M[s][r];
            for (int l = s + 1; l <= m + 1; ++l) M[l][r] -= f * M[l][s];
        }
    }
    // 5. The coefficients are column m + 1; one that is not finite refuses the fit.
    bool finite = true;
    for (int i = 0; i < m; ++i) finite = finite && std::isfinite(M[m + 1][i + 1]);
    if (!finite) {
        std::memset(e.FitMatrix, 0, sizeof e.FitMatrix);
        return -1;
    }
    return 0;
}

void CMerinCalcc::GetCoefficient(int32_t i, double& value) const {
    value = fitMatrixEntry(engine().fitSize, i + 1);
}

}  // namespace qor
