#pragma once
// The spectrum side of a simulated analyser: preset, start, stop, clear, channel size, the
// blockwise read and the status reply.
//
// Counts are kept at the finest resolution (4096 channels); a spectrum of N channels sums 4096 / N
// neighbouring fine channels, so a new channel size rebins what was measured. While measuring, the
// expected counts of the components (SimEmission) are integrated over live time as the stage
// moves; they are drawn as Poisson counts when somebody looks (a read, the status, a stop), so a
// read costs one pass over the channels whatever the time since the last one.
//
// Times: channel 0 of every read carries the live time, channel 1 the real time, both in ticks of
// 10 ms since the last clear. The preset value counts the same 10 ms ticks, of live time (mode 0)
// or of real time (mode 1); reaching it ends the measurement. Dead time is non-paralysable: at an
// input rate R the detector is live 1 / (1 + R * deadTime) of the time.
//
// Status reply (16 bytes): "S" measuring('1'/'0') mode('0'/'1') preset-reached('1'/'0') then the
// live ticks as "%010d" cut to the buffer.

#include "sim/SimEmission.h"
#include "sim/SimRandom.h"

#include <cstdint>

namespace qor {

class SimMca {
public:
    SimMca(const SimEmission& emission, double deadTimeSec)
        : emission_(emission), deadTime_(deadTimeSec > 0.0 ? deadTimeSec : 0.0) {}

    static bool validChannels(int32_t channels);

    bool preset(int32_t mode, int32_t channels, int32_t presetTicks);
    void start();
    void stop(SimRandom& rng);
    void clear();

    // Spends `dt` seconds of real time at component weights `w` (SimSample). Stops at the preset.
    void integrate(double dt, const double w[kSimComponents]);
    // Turns the integrated expectation into counts.
    void flush(SimRandom& rng);

    // Copies output channels first .. first + 255 into dest (channels beyond the channel size read
    // as 0). False when `first` is outside the spectrum.
    bool readBlock(int32_t first, int32_t* dest, SimRandom& rng);
    // The status reply text (at most 15 characters) into out; returns its length.
    int statusText(char (&out)[32]) const;

    bool measuring() const { return running_; }
    bool presetReached() const { return done_; }
    int32_t channels() const { return channels_; }
    int32_t mode() const { return mode_; }
    int32_t presetTicks() const { return preset_; }
    double liveSec() const { return live_; }
    double realSec() const { return real_; }
    int32_t liveTicks() const { return ticks(live_); }
    int32_t realTicks() const { return ticks(real_); }
    double liveFraction(const double w[kSimComponents]) const {
        return emission_.liveFraction(w, deadTime_);
    }
    // Fine-channel counts so far (for tests), after a flush.
    int64_t fineSum(int lo, int hi) const;

private:
    static int32_t ticks(double sec);
    double presetSec() const { return preset_ * 0.01; }

    const SimEmission& emission_;
    double deadTime_;
    bool running_ = false;
    bool done_ = false;
    int32_t mode_ = 0;
    int32_t channels_ = 2048;
    int32_t preset_ = 1000;
    double live_ = 0.0;
    double real_ = 0.0;
    double pending_[kSimComponents] = {};  // integrated weight x live seconds not yet drawn
    int32_t fine_[kSimFineChannels] = {};
    double mean_[kSimFineChannels] = {};   // scratch of flush()
};

}  // namespace qor
