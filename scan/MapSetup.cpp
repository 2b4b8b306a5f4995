#include "scan/MapSetup.h"

#include "spectrum/SpectrumFiles.h"
#include "spectrum/SpectrumView.h"

#include <algorithm>
#include <cmath>

namespace qor {

Resolution Resolution::fromPeaks(const std::vector<PeakInput>& peaks) {
    Resolution r;
    double n = 0, se = 0, sy = 0, see = 0, sey = 0;
    for (const PeakInput& p : peaks) {
        if (!(p.fwhmKeV > 0.0) || !(p.energyKeV > 0.0) || !std::isfinite(p.fwhmKeV)) continue;
        const double y = p.fwhmKeV * p.fwhmKeV;
        n += 1;
        se += p.energyKeV;
        sy += y;
        see += p.energyKeV * p.energyKeV;
        sey += p.energyKeV * y;
    }
    if (n < 1) return r;
    const double det = n * see - se * se;
    if (n >= 3 && det > 1e-12) {
        r.b = (n * sey - se * sy) / det;
        r.a = (sy - r.b * se) / n;
    }
    if (!(n >= 3 && det > 1e-12) || r.b < 0.0 || r.a + r.b * se / n <= 0.0) {
        r.a = sy / n;   // a constant width
        r.b = 0.0;
    }
    r.known = true;
    return r;
}

double Resolution::fwhmKeV(double e, double fallback) const {
    if (!known) return fallback;
    const double v = a + b * e;
    return v > 0.0 ? std::sqrt(v) : fallback;
}

std::vector<MapPlanEntry> planMaps(const LineTable& table, const Identification& id,
                                   const std::vector<PeakInput>& peaks,
                                   const std::vector<int>& sources, const EnergyScale& scale) {
    std::vector<MapPlanEntry> plan;
    const Resolution res = Resolution::fromPeaks(peaks);
    for (int src : sources) {
        if (static_cast<int>(plan.size()) >= kMapSetupSlots) break;
        const IdentifiedSource* found = nullptr;
        for (const IdentifiedSource& s : id.ranked)
            if (s.source == src) found = &s;
        if (!found) continue;
        int bestLine = -1;
        double bestNet = -1.0;
        for (const ExplainedLine& e : found->explained) {
            if (e.peak < 0 || e.peak >= static_cast<int>(peaks.size())) continue;
            if (peaks[e.peak].net > bestNet) {
                bestNet = peaks[e.peak].net;
                bestLine = e.line;
            }
        }
        if (bestLine < 0) continue;
        const SpectralLine& l = table.lines()[bestLine];
        double ch = 0.0;
        if (!scale.channelOf(l.energyKeV, ch)) continue;
        const double slope = scale.slope(ch);
        if (!(slope > 0.0)) continue;
        const double half = res.fwhmKeV(l.energyKeV) / slope;
        MapPlanEntry e;
        e.name = table.sources()[src].name;
        e.line = l.label;
        e.energyKeV = l.energyKeV;
        e.lo = clampChannel(std::max<int64_t>(1, std::llround(ch - half)));
        e.hi = clampChannel(std::min<int64_t>(scale.channels - 1, std::llround(ch + half)));
        if (e.hi <= e.lo) continue;
        plan.push_back(e);
    }
    return plan;
}

bool mapPlanReplaces(const InfoRecord& rec, const std::vector<MapPlanEntry>& plan) {
    const int n = std::min<int>(static_cast<int>(plan.size()), kMapSetupSlots);
    for (int k = 1; k <= n; ++k)
        if (rec.RoiEnd[0][k] != 0) return true;
    for (int i = 0; i < kMapSetupSlots; ++i)
        if (rec.MapRoiEnabled[i]) return true;
    return false;
}

void applyMapPlan(InfoRecord& rec, const std::vector<MapPlanEntry>& plan) {
    const int n = std::min<int>(static_cast<int>(plan.size()), kMapSetupSlots);
    for (int i = 0; i < kMapSetupSlots; ++i) {
        if (i < n) {
            rec.RoiStart[0][i + 1] = plan[i].lo;
            rec.RoiEnd[0][i + 1] = plan[i].hi;
            copyCutSjis(plan[i].name, rec.MapRoiElementName[i], sizeof rec.MapRoiElementName[i]);
            rec.MapRoiEnabled[i] = 1;
        } else {
            rec.MapRoiEnabled[i] = 0;
        }
    }
}

}  // namespace qor
