#pragma once
// The two-dimensional scan side of a simulated analyser: channel size, twenty ROIs (NET or
// GROSS), the pixel store and the debug block.
//
// While the accumulation runs, the expected counts of the components are integrated over the live
// time of the current pixel as the stage moves under the beam. A pixel signal from a motor
// controller closes the pixel: each ROI's counts are drawn (Poisson) from the spectrum integrated
// along the pixel's path and dwell, and the twenty values join the queue of finished pixels, which
// the program reads one frame at a time. A ROI that was never set reads 0. GROSS is the sum over
// the ROI's channels; NET subtracts a straight background through the two edge channels,
// (left + right) * width / 2, truncated toward zero (NET may be negative).
//
// Replies:
// - status: the waiting count as "%03d" (999 at most), then ",", '1'/'0' running, '1'/'0'
//   overflow;
// - pixel frame: 130 bytes, '$' at 0, twenty little-endian int32 counts from byte 1, zero bytes
//   81..128, 'E' at 129;
// - debug block: the 69-byte layout of the service page (points waiting, channel size, switches,
//   ROI#1..#4 first/last/kind/value of the last pixel, write and read positions, 'E' at 68).
// The store holds kQueueFrames pixels; pixels arriving when it is full are lost and the overflow
// switch goes on until the store is reset.

#include "sim/SimEmission.h"
#include "sim/SimRandom.h"

#include <cstdint>

namespace qor {

constexpr int kSimRois = 20;
constexpr int kSimFrameSize = 130;
constexpr int kSimDebugSize = 69;

class SimScan2D {
public:
    SimScan2D(const SimEmission& emission, double deadTimeSec);

    static constexpr int kQueueFrames = 1024;

    bool setChannels(int32_t channels);
    bool setRoi(int32_t roi, int32_t first, int32_t last, int32_t kind);
    void reset();  // empties the store and the current pixel
    void start();
    void stop() { running_ = false; }

    void integrate(double dt, const double w[kSimComponents]);
    void closePixel(SimRandom& rng);

    int waiting() const { return static_cast<int>(written_ - read_); }
    bool running() const { return running_; }
    bool overflow() const { return overflow_; }
    int32_t channels() const { return channels_; }

    int statusText(char (&out)[32]) const;
    // Takes the oldest pixel into a frame; false (and an all-zero framed reply) when none waits.
    bool takeFrame(uint8_t (&frame)[kSimFrameSize]);
    void debugBlock(uint8_t (&out)[kSimDebugSize]) const;

    // Expected GROSS counts per live second of ROI r at weights w (for tests).
    double expectedRate(int r, const double w[kSimComponents]) const;

private:
    struct Roi {
        bool set = false;
        int32_t first = 0, last = 0, kind = 1;
        // Rates per component: inner channels, left edge channel, right edge channel.
        double inner[kSimComponents] = {}, left[kSimComponents] = {}, right[kSimComponents] = {};
    };
    void recompute(Roi& roi) const;

    const SimEmission& emission_;
    double deadTime_;
    int32_t channels_ = 2048;
    Roi rois_[kSimRois];
    bool running_ = false;
    bool overflow_ = false;
    bool signalled_ = false;
    double pixel_[kSimComponents] = {};  // weight x live seconds of the current pixel
    int32_t frames_[kQueueFrames][kSimRois] = {};
    int64_t written_ = 0;
    int64_t read_ = 0;
    int32_t last_[kSimRois] = {};
};

}  // namespace qor
