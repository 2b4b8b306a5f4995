#include "scan/ScanTargets.h"

#include "app/FieldText.h"
#include "scan/ZPlanes.h"

#include <algorithm>
#include <cmath>

namespace qor {

namespace {

const QString kCannotStart = QStringLiteral("二次元SCANを開始できません");

struct Axis {
    const char* name;   // "X", "Y", "Z"
    int motor;          // motor number 1..3
};
constexpr Axis kX{"X", 1}, kY{"Y", 2}, kZ{"Z", 3};

QString n64(int64_t v) { return QString::number(static_cast<qlonglong>(v)); }

QString overflowText(const Axis& a, double pulses, const QString& from) {
    return QStringLiteral("%1軸 (Motor#%2) の移動先 %3 パルスがモータの範囲を超えます: %4。%5")
        .arg(QLatin1String(a.name))
        .arg(a.motor)
        .arg(formatGeneral(pulses), from, kCannotStart);
}

QString softLimitProblem(const InfoRecord& r, const Axis& a, double lo, double hi) {
    return qor::softLimitProblem(r, a.motor, lo, hi, kCannotStart);
}

// Keeps the lowest and highest of the logical positions seen.
struct Travel {
    double lo = 0.0;   // every axis starts from and returns to the origin
    double hi = 0.0;
    void add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
};

QString xProblem(const InfoRecord& r) {
    const int64_t xp = r.ScanXPixelPulses;
    const int64_t end = scanLineEndPulses(r);
    const int64_t backlash = r.XBacklashPulses;
    if (!fitsPulses(end))
        return overflowText(kX, static_cast<double>(end),
                            QStringLiteral("Ｘ軸二次元のピクセル幅 %1 パルス × X軸ｓｔｅｐ数 %2")
                                .arg(n64(xp))
                                .arg(r.ScanXSteps));
    const double ppu = r.MotorLogicalPulses[0];
    Travel t;
    t.add(static_cast<double>(end) / ppu);
    if (r.ScanMethod != 0) {
        // Back and forth: the start from -backlash, the - strokes to -backlash, and the turn
        // at the end of a + stroke to end - backlash.
        if (!fitsPulses(-backlash))
            return overflowText(kX, static_cast<double>(-backlash),
                                QStringLiteral("X軸Backlash %1 パルス").arg(n64(backlash)));
        const int64_t turn = end - backlash;
        if (!fitsPulses(turn))
            return overflowText(kX, static_cast<double>(turn),
                                QStringLiteral("ライン終点 %1 パルス - X軸Backlash %2 パルス")
                                    .arg(n64(end), n64(backlash)));
        t.add(static_cast<double>(-backlash) / ppu);
        t.add(static_cast<double>(turn) / ppu);
    }
    return softLimitProblem(r, kX, t.lo, t.hi);
}

QString yProblem(const InfoRecord& r) {
    const int64_t last = scanLinePulses(r, static_cast<int64_t>(r.ScanYSteps) - 1);
    const int64_t backlash = r.YBacklashPulses;
    if (!fitsPulses(last))
        return overflowText(kY, static_cast<double>(last),
                            QStringLiteral("Ｙ軸二次元のピクセル幅 %1 パルス × (Y軸ｓｔｅｐ数 %2 - 1)")
                                .arg(r.ScanYPixelPulses)
                                .arg(r.ScanYSteps));
    const double ppu = r.MotorLogicalPulses[1];
    Travel t;
    // The lines cover the plane up to the far edge of the last line.
    t.add(static_cast<double>(scanLinePulses(r, r.ScanYSteps)) / ppu);
    if (r.ScanMethod != 0) {
        if (!fitsPulses(-backlash))
            return overflowText(kY, static_cast<double>(-backlash),
                                QStringLiteral("Y軸Backlash %1 パルス").arg(n64(backlash)));
        t.add(static_cast<double>(-backlash) / ppu);
    }
    return softLimitProblem(r, kY, t.lo, t.hi);
}

QString zProblem(const InfoRecord& r) {
    const std::pair<const char*, double> values[] = {
        {"開始座標", r.ZStart}, {"終了座標", r.ZEnd}, {"ステップ角度", r.ZStep}};
    for (const auto& [label, v] : values)
        if (!std::isfinite(v))
            return QStringLiteral("Z軸の%1 %2 は数値ではありません。%3")
                .arg(QString::fromUtf8(label), formatGeneral(v), kCannotStart);
    const double ppu = r.MotorLogicalPulses[2];
    // The first plane: double precision, + 0.5.
    const double first = ppu * r.ZStart + 0.5;
    if (!(std::fabs(first) < 2147483648.0))
        return overflowText(kZ, first,
                            QStringLiteral("Z軸の開始座標 %1 × 論理パルス数 %2")
                                .arg(formatGeneral(r.ZStart))
                                .arg(r.MotorLogicalPulses[2]));
    Travel t{std::trunc(first) / ppu, std::trunc(first) / ppu};
    // The planes that follow run monotonically to the last one, in single precision.
    if (r.ZCount >= 1) {
        const double last = zPlaneScaled(r, r.ZCount);
        if (!(std::fabs(last) < 2147483648.0))
            return overflowText(kZ, last,
                                QStringLiteral("Z軸の開始座標 %1、ステップ角度 %2 × 回数 %3")
                                    .arg(formatGeneral(r.ZStart), formatGeneral(r.ZStep))
                                    .arg(r.ZCount));
        t.add(std::trunc(last) / ppu);
    }
    return softLimitProblem(r, kZ, t.lo, t.hi);
}

}  // namespace

QString softLimitProblem(const InfoRecord& r, int motor, double lo, double hi, const QString& tail) {
    static const char* const kNames[3] = {"X", "Y", "Z"};
    const double minus = r.SoftLimitMinus[motor - 1];
    const double plus = r.SoftLimitPlus[motor - 1];
    // Written so that a limit that is no number refuses too.
    const bool minusOk = minus <= lo;
    const bool plusOk = hi <= plus;
    if (minusOk && plusOk) return QString();
    return QStringLiteral(
               "%1軸 (Motor#%2) の移動範囲 %3 ～ %4 がソフトリミット(%5) %6 を超えています。"
               "SETUPページのソフトリミットか測定範囲を見直してください。%7")
        .arg(QLatin1String(motor >= 1 && motor <= 3 ? kNames[motor - 1] : "?"))
        .arg(motor)
        .arg(formatGeneral(lo), formatGeneral(hi),
             minusOk ? QStringLiteral("+") : QStringLiteral("-"),
             formatGeneral(minusOk ? plus : minus), tail);
}

int64_t scanLineEndPulses(const InfoRecord& r) {
    return static_cast<int64_t>(r.ScanXPixelPulses) * r.ScanXSteps;
}

int64_t scanLinePulses(const InfoRecord& r, int64_t line) {
    return line * static_cast<int64_t>(r.ScanYPixelPulses);
}

QString scanTargetProblem(const InfoRecord& r) {
    QString p = xProblem(r);
    if (p.isEmpty()) p = yProblem(r);
    if (p.isEmpty() && r.ScanUseZ == 1) p = zProblem(r);
    return p;
}

}  // namespace qor
