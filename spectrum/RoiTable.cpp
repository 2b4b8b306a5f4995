#include "spectrum/RoiTable.h"

#include "app/FieldText.h"
#include "spectrum/SpectrumState.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace qor {

namespace {

// Mean of channels k, k - 1, k - 2 of those that exist (k is inside the slot), truncated.
int32_t edgeAverage(const int32_t* x, int32_t k) {
    int64_t sum = 0;
    int n = 0;
    for (int32_t j = k; j >= 0 && j > k - 3; --j, ++n) sum += x[j];
    return static_cast<int32_t>(sum / n);
}

int32_t toInt32Truncated(double v) {
    if (!(v == v)) return 0;
    v = std::trunc(v);
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

RoiCounts roiNetGross(const int32_t* x, int32_t L, int32_t R, int32_t N) {
    const int32_t rawR = R;
    L = clampChannel(L);
    R = clampChannel(R);
    RoiCounts out;
    uint32_t gross = 0;  // a signed 32-bit sum that wraps
    for (int32_t k = L; k <= R; ++k) gross += static_cast<uint32_t>(x[k]);
    out.gross = static_cast<int32_t>(gross);

    const int32_t BL = rawR > 5 ? edgeAverage(x, L) : x[L];
    const int32_t BR = rawR < N ? edgeAverage(x, R) : x[R];
    const double bg = (static_cast<double>(BL) + BR) * (static_cast<double>(R) - L + 1) * 0.5;
    out.net = wrapSub(out.gross, toInt32Truncated(bg));
    return out;
}

int roiIndex(int32_t r) { return std::clamp<int32_t>(r, 0, kRoiCount - 1); }

bool parseRoiNumber(const QString& text, int32_t& number) {
    int32_t v = 0;
    if (!parseLeadingInt(text, v)) return false;
    if (v < kRoiFirstSelectable || v > kRoiLastSelectable) return false;
    number = v;
    return true;
}

void roiSet(InfoRecord& rec, int s, int r, int32_t c) {
    r = roiIndex(r);
    c = clampChannel(c);
    int32_t& start = rec.RoiStart[s][r];
    int32_t& end = rec.RoiEnd[s][r];
    if (start == 0) {
        start = c;
        return;
    }
    end = c;
    if (start > end) std::swap(start, end);
}

void roiClear(InfoRecord& rec, int s, int r) {
    r = roiIndex(r);
    rec.RoiStart[s][r] = 0;
    rec.RoiEnd[s][r] = 0;
}

void roiClearAll(InfoRecord& rec, int s) {
    for (int r = 0; r < kRoiCount; ++r) {
        rec.RoiStart[s][r] = 0;
        rec.RoiEnd[s][r] = 0;
    }
}

namespace {
// The end channel one further right, never past channel 4095.
int32_t endRight(int32_t R) { return clampChannel(int64_t(R) + 1); }
}  // namespace

void roiWiden(InfoRecord& rec, int s, int r, int32_t N) {
    r = roiIndex(r);
    int32_t& L = rec.RoiStart[s][r];
    int32_t& R = rec.RoiEnd[s][r];
    if (L > 2) --L;
    if (L < N - 2) R = endRight(R);
}

void roiNarrow(InfoRecord& rec, int s, int r) {
    r = roiIndex(r);
    int32_t& L = rec.RoiStart[s][r];
    int32_t& R = rec.RoiEnd[s][r];
    if (int64_t(L) + 2 < R) ++L;
    if (R > int64_t(L) + 1) --R;
}

void roiShiftLeft(InfoRecord& rec, int s, int r) {
    r = roiIndex(r);
    int32_t& L = rec.RoiStart[s][r];
    int32_t& R = rec.RoiEnd[s][r];
    if (L > 2) --L;
    if (R > int64_t(L) + 1) --R;
}

void roiShiftRight(InfoRecord& rec, int s, int r, int32_t N) {
    r = roiIndex(r);
    int32_t& L = rec.RoiStart[s][r];
    int32_t& R = rec.RoiEnd[s][r];
    if (int64_t(L) + 2 < R) ++L;
    if (L < N - 2) R = endRight(R);
}

int roiAtChannel(const InfoRecord& rec, int s, int32_t c) {
    int found = 0;
    for (int i = kRoiFirstSelectable; i <= kRoiLastSelectable; ++i)
        if (rec.RoiEnd[s][i] != 0 && rec.RoiStart[s][i] <= c && c <= rec.RoiEnd[s][i]) found = i;
    return found;
}

}  // namespace qor
