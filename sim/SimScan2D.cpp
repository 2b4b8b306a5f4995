#include "sim/SimScan2D.h"

#include "sim/SimMca.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>

namespace qor {

namespace {
void putInt(uint8_t* p, int64_t v) {
    const int32_t x = static_cast<int32_t>(std::clamp<int64_t>(
        v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    const uint32_t u = static_cast<uint32_t>(x);
    p[0] = static_cast<uint8_t>(u);
    p[1] = static_cast<uint8_t>(u >> 8);
    p[2] = static_cast<uint8_t>(u >> 16);
    p[3] = static_cast<uint8_t>(u >> 24);
}
}  // namespace

SimScan2D::SimScan2D(const SimEmission& emission, double deadTimeSec)
    : emission_(emission), deadTime_(deadTimeSec > 0.0 ? deadTimeSec : 0.0) {}

bool SimScan2D::setChannels(int32_t channels) {
    if (!SimMca::validChannels(channels)) return false;
    channels_ = channels;
    for (Roi& r : rois_)
        if (r.set) recompute(r);
    return true;
}

bool SimScan2D::setRoi(int32_t roi, int32_t first, int32_t last, int32_t kind) {
    if (roi < 0 || roi >= kSimRois || first < 0 || last < first || last >= kSimFineChannels ||
        (kind != 0 && kind != 1))
        return false;
    Roi& r = rois_[roi];
    r.set = true;
    r.first = first;
    r.last = last;
    r.kind = kind;
    recompute(r);
    return true;
}

void SimScan2D::recompute(Roi& r) const {
    // Channel c of the scan's channel size covers fine channels [c * k, (c + 1) * k); channels
    // beyond the channel size see nothing.
    const int k = kSimFineChannels / channels_;
    const int first = std::min(r.first, channels_);
    const int last = std::min(r.last, channels_ - 1);
    for (int c = 0; c < kSimComponents; ++c) {
        r.inner[c] = r.left[c] = r.right[c] = 0.0;
        if (r.first >= channels_) continue;
        r.left[c] = emission_.rateSum(c, first * k, (first + 1) * k);
        if (last > first) {
            r.right[c] = emission_.rateSum(c, last * k, (last + 1) * k);
            r.inner[c] = emission_.rateSum(c, (first + 1) * k, last * k);
        }
    }
}

void SimScan2D::reset() {
    written_ = read_ = 0;
    overflow_ = false;
    signalled_ = false;
    std::fill(std::begin(pixel_), std::end(pixel_), 0.0);
    std::fill(std::begin(last_), std::end(last_), 0);
}

void SimScan2D::start() {
    running_ = true;
    signalled_ = false;
    std::fill(std::begin(pixel_), std::end(pixel_), 0.0);
}

void SimScan2D::integrate(double dt, const double w[kSimComponents]) {
    if (!running_ || !(dt > 0.0)) return;
    const double liveDt = dt * emission_.liveFraction(w, deadTime_);
    for (int c = 0; c < kSimComponents; ++c) pixel_[c] += w[c] * liveDt;
}

double SimScan2D::expectedRate(int r, const double w[kSimComponents]) const {
    if (r < 0 || r >= kSimRois || !rois_[r].set) return 0.0;
    double s = 0.0;
    for (int c = 0; c < kSimComponents; ++c)
        s += w[c] * (rois_[r].inner[c] + rois_[r].left[c] + rois_[r].right[c]);
    return s;
}

void SimScan2D::closePixel(SimRandom& rng) {
    if (!running_) return;
    signalled_ = true;
    int32_t counts[kSimRois] = {};
    for (int r = 0; r < kSimRois; ++r) {
        const Roi& roi = rois_[r];
        if (!roi.set) continue;
        double mi = 0.0, ml = 0.0, mr = 0.0;
        for (int c = 0; c < kSimComponents; ++c) {
            mi += pixel_[c] * roi.inner[c];
            ml += pixel_[c] * roi.left[c];
            mr += pixel_[c] * roi.right[c];
        }
        const int64_t left = rng.poisson(ml);
        const int64_t right = roi.last > roi.first ? rng.poisson(mr) : left;
        const int64_t gross = rng.poisson(mi) + left + (roi.last > roi.first ? right : 0);
        int64_t v = gross;
        if (roi.kind == 0) {
            const int64_t width = static_cast<int64_t>(roi.last) - roi.first + 1;
            v = gross - ((left + right) * width) / 2;
        }
        counts[r] = static_cast<int32_t>(std::clamp<int64_t>(
            v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    }
    std::fill(std::begin(pixel_), std::end(pixel_), 0.0);
    std::copy(std::begin(counts), std::end(counts), std::begin(last_));
    if (waiting() >= kQueueFrames) {
        overflow_ = true;
        return;
    }
    std::copy(std::begin(counts), std::end(counts), frames_[written_ % kQueueFrames]);
    ++written_;
}

int SimScan2D::statusText(char (&out)[32]) const {
    const int n = std::snprintf(out, sizeof out, "%03d,%c%c", std::min(waiting(), 999),
                                running_ ? '1' : '0', overflow_ ? '1' : '0');
    return std::clamp(n, 0, 15);
}

bool SimScan2D::takeFrame(uint8_t (&frame)[kSimFrameSize]) {
    std::memset(frame, 0, sizeof frame);
    frame[0] = '$';
    frame[kSimFrameSize - 1] = 'E';
    if (waiting() <= 0) return false;
    const int32_t* counts = frames_[read_ % kQueueFrames];
    for (int r = 0; r < kSimRois; ++r) putInt(frame + 1 + 4 * r, counts[r]);
    ++read_;
    return true;
}

void SimScan2D::debugBlock(uint8_t (&out)[kSimDebugSize]) const {
    std::memset(out, 0, sizeof out);
    out[0] = static_cast<uint8_t>(std::min(waiting(), 255));
    out[2] = static_cast<uint8_t>(channels_ & 0xFF);
    out[3] = static_cast<uint8_t>((channels_ >> 8) & 0xFF);
    out[4] = running_ ? 1 : 0;
    out[5] = signalled_ ? 1 : 0;
    out[6] = overflow_ ? 1 : 0;
    for (int r = 0; r < 4; ++r) {
        putInt(out + 8 + 4 * r, rois_[r].first);
        putInt(out + 24 + 4 * r, rois_[r].last);
        out[40 + r] = static_cast<uint8_t>(rois_[r].kind);
        putInt(out + 44 + 4 * r, last_[r]);
    }
    putInt(out + 60, written_);
    putInt(out + 64, read_);
    out[68] = 'E';
}

}  // namespace qor
