#pragma once
// CMerinCalcc: the numerical engine of the spectrum analysis (smoothing filters, the
// second-derivative peak search, Gaussian fits of a peak, the wide-peak measurement and the
// polynomial least-squares fit). It knows nothing of windows, slots or files.
//
// The engine has no per-instance data: its storage exists once and every instance is a handle on
// it, so the result of an operation stays readable through any handle until the next operation
// of any handle overwrites it. Callers copy a spectrum in with SetSource, call one operation and
// read the answer back at once (GetResult, GetCoefficient or the result arrays they passed).
//
// Every read of the input counts stays inside its 8192 channels: a channel outside reads as 0.
// No operation allocates. Conversions of real values to integers truncate toward zero.

#include <cstdint>

namespace qor {

class CMerinCalcc {
public:
    static constexpr int kChannels = 8192;      // SourceData, ResultData
    static constexpr int kFitSize = 18;         // FitMatrix, indices 1..17 used
    static constexpr int kMaxFitDegree = 15;
    static constexpr int kFilterRows = 6;
    static constexpr int kMaxPeaks = 100;       // size of the caller's result arrays
    static constexpr int kMaxCandidates = 99;   // FindPeakCandidates stops there

    // Constant tables. Smoothing: weights c0 (centre), c1, ... and one divisor per row.
    static const float SmoothingTable[6][8];
    static const float SmoothingDivisor[6];
    // Second-derivative filters: c0, c1, ... (applied at ch and symmetrically at ch +- i) and
    // the weights of the filter's variance; taps = coefficients used per row.
    static const int32_t DerivativeFilterTable[6][7];
    static const int32_t VarianceWeightTable[6][7];
    static const int32_t FilterTaps[6];

    CMerinCalcc() = default;
    virtual ~CMerinCalcc() = default;

    // Input and output arrays. An index outside 0..8191 stores nothing and reads 0.
    int32_t SetSource(int32_t index, int32_t value);
    int32_t GetSource(int32_t index) const;
    int32_t GetResult(int32_t index) const;

    // Smoothing of SourceData into ResultData (kinds 0 and 1: weight rows of 5, 7 or 9 points;
    // kind 2: fixed weights 1,1,3,2,2 / 9). The edges 0..points and last-points..last are copied
    // unchanged. Returns 0, or -1 (and writes nothing) when points < 2.
    int32_t Smooth(int32_t kind, int32_t points, int32_t last);

    // One filter value at channel ch with the current filter row: F, its variance V and the
    // significance threshold T = -k * sqrt(V). A channel is significant when F < T.
    void FilterAt(int32_t ch, double k);
    int64_t filterValue() const;
    double filterVariance() const;
    double filterThreshold() const;

    // Narrow-peak search. params: filter row, first channel, end channel, maximum number of
    // peaks (held at kMaxPeaks), significance factor k. Candidates are the deepest channel of
    // each dip of the filter below its threshold and the channels where the filter turns upward
    // inside a run of significant channels; each is evaluated (a Gaussian on the net counts
    // above a straight background) and entries of one peak are thinned to the strongest. The
    // entries go into the seven arrays (each of at least kMaxPeaks entries) in channel order and
    // the number of peaks is returned. A row outside the table searches nothing and returns the
    // count of the previous search.
    int32_t SearchPeaks(const double params[5], double* position, double* net,
                        double* background, double* error, double* fwhm, int32_t* low,
                        int32_t* high);

    // Gaussian through four values g(c-1), g(c), g(c+1), g(c+2) with its centre at x0:
    // width (FWHM in channels, 0 when the log-parabola does not open downward or is wider than
    // 20 channels), height and area.
    void FitGaussian(double x0, int32_t c, double g0, double g1, double g2, double g3,
                     double& width, double& height, double& area);

    // Wide-peak candidates: channels where the smoothed first derivative turns from rising to
    // falling after more than `minRun` rising channels. Writes ResultData (the derivative) and up
    // to kMaxCandidates channels into `out`; returns their number.
    int32_t FindPeakCandidates(int32_t points, int32_t minRun, int32_t first, int32_t end,
                               int32_t* out);

    // Measures the peak near channel `start` with the expected FWHM `width` in a spectrum of
    // `channels` channels. Returns 0, or -1 when a block sum had to be raised to 1.
    int32_t MeasurePeak(int32_t width, int32_t start, int32_t channels, int32_t& peak,
                        int32_t& low, int32_t& high, double& net, double& background,
                        double& fwhm, double& error);

    // Least-squares polynomial of degree d through (x[i], y[i]), i < n; the coefficients stay in
    // FitMatrix for GetCoefficient. Returns 0, or -1 when the fit is refused: fewer distinct x
    // values than coefficients, a degree outside 0..15, or a coefficient that is not finite. A
    // refused fit leaves every coefficient 0.
    int32_t FitPolynomial(const double* x, const double* y, int32_t n, int32_t d);
    // Coefficient of x^i of the last fit (0 above its degree).
    void GetCoefficient(int32_t i, double& value) const;

    // FitMatrix entry (column, row), 1-based as the fit uses it; 0 outside.
    double fitMatrixEntry(int col, int row) const;

private:
    int32_t y(int64_t ch) const;
    void evaluateCandidate(int32_t c, double* position, double* net, double* background,
                           double* error, double* fwhm, int32_t* low, int32_t* high);
};

}  // namespace qor
