#include "sim/SimMca.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

namespace qor {

bool SimMca::validChannels(int32_t n) {
    return n == 256 || n == 512 || n == 1024 || n == 2048 || n == 4096;
}

int32_t SimMca::ticks(double sec) {
    const double t = std::floor(sec * 100.0 + 1e-6);
    return t >= 2147483647.0 ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(t);
}

bool SimMca::preset(int32_t mode, int32_t channels, int32_t presetTicks) {
    if ((mode != 0 && mode != 1) || !validChannels(channels) || presetTicks <= 0) return false;
    mode_ = mode;
    channels_ = channels;
    preset_ = presetTicks;
    // A measurement already past the new preset ends now; a larger preset lets a finished one run
    // on only after a new start.
    const double t = mode_ == 0 ? live_ : real_;
    if (running_ && t >= presetSec()) {
        running_ = false;
        done_ = true;
    } else if (t < presetSec()) {
        done_ = false;
    }
    return true;
}

void SimMca::start() {
    const double t = mode_ == 0 ? live_ : real_;
    if (t >= presetSec()) {
        done_ = true;  // nothing left to measure
        return;
    }
    running_ = true;
    done_ = false;
}

void SimMca::stop(SimRandom& rng) {
    running_ = false;
    flush(rng);
}

void SimMca::clear() {
    std::fill(std::begin(fine_), std::end(fine_), 0);
    std::fill(std::begin(pending_), std::end(pending_), 0.0);
    live_ = real_ = 0.0;
    done_ = false;
}

void SimMca::integrate(double dt, const double w[kSimComponents]) {
    if (!running_ || !(dt > 0.0)) return;
    const double lf = liveFraction(w);
    const double limit = presetSec();
    bool ends = false;
    if (mode_ == 0) {
        if (live_ + dt * lf >= limit) {
            dt = std::max(0.0, (limit - live_) / lf);
            ends = true;
        }
    } else if (real_ + dt >= limit) {
        dt = std::max(0.0, limit - real_);
        ends = true;
    }
    const double liveDt = dt * lf;
    for (int c = 0; c < kSimComponents; ++c) pending_[c] += w[c] * liveDt;
    if (ends) {
        // Land exactly on the preset so that the reported ticks equal it.
        if (mode_ == 0) {
            live_ = limit;
            real_ += dt;
        } else {
            real_ = limit;
            live_ += liveDt;
        }
        running_ = false;
        done_ = true;
    } else {
        live_ += liveDt;
        real_ += dt;
    }
}

void SimMca::flush(SimRandom& rng) {
    double total = 0.0;
    for (int c = 0; c < kSimComponents; ++c) total += pending_[c];
    if (!(total > 0.0)) return;
    double sum = 0.0;
    for (int i = 0; i < kSimFineChannels; ++i) {
        double m = 0.0;
        for (int c = 0; c < kSimComponents; ++c) m += pending_[c] * emission_.rate(c, i);
        mean_[i] = m;
        sum += m;
    }
    std::fill(std::begin(pending_), std::end(pending_), 0.0);
    auto add = [this](int i, int64_t n) {
        const int64_t v = static_cast<int64_t>(fine_[i]) + n;
        fine_[i] = static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
    };
    if (sum < 512.0) {
        // Few events: draw their number, then place each one by the channel distribution.
        for (int i = 1; i < kSimFineChannels; ++i) mean_[i] += mean_[i - 1];
        const int64_t n = rng.poisson(sum);
        for (int64_t k = 0; k < n; ++k) {
            const double u = rng.uniform() * mean_[kSimFineChannels - 1];
            const int i = static_cast<int>(
                std::upper_bound(std::begin(mean_), std::end(mean_), u) - std::begin(mean_));
            add(std::min(i, kSimFineChannels - 1), 1);
        }
        return;
    }
    for (int i = 0; i < kSimFineChannels; ++i) add(i, rng.poisson(mean_[i]));
}

bool SimMca::readBlock(int32_t first, int32_t* dest, SimRandom& rng) {
    if (first < 0 || first >= channels_) return false;
    flush(rng);
    const int k = kSimFineChannels / channels_;
    for (int j = 0; j < 256; ++j) {
        const int32_t ch = first + j;
        int64_t v = 0;
        if (ch == 0) {
            v = liveTicks();
        } else if (ch == 1) {
            v = realTicks();
        } else if (ch < channels_) {
            const int32_t* f = fine_ + ch * k;
            for (int q = 0; q < k; ++q) v += f[q];
        }
        dest[j] = static_cast<int32_t>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
    }
    return true;
}

int SimMca::statusText(char (&out)[32]) const {
    const int n = std::snprintf(out, sizeof out, "S%c%c%c%010d", running_ ? '1' : '0',
                                mode_ == 1 ? '1' : '0', done_ ? '1' : '0', liveTicks());
    return std::clamp(n, 0, 15);
}

int64_t SimMca::fineSum(int lo, int hi) const {
    int64_t s = 0;
    for (int i = std::max(0, lo); i < std::min(hi, kSimFineChannels); ++i) s += fine_[i];
    return s;
}

}  // namespace qor
