#pragma once
// How edit boxes store into their record fields and how numbers are shown in boxes.
//
// An integer field takes the decimal integer at the start of the text ("%d": leading blanks, an
// optional sign, digits); a real field the real number at the start of the text ("%lf"). A text
// that does not start with a number leaves the field unchanged. Numbers beyond the int32 range
// saturate instead of wrapping. A real field never takes a value that is not a finite number:
// "nan", "inf" or a number beyond the double range leave it unchanged.

#include <QString>
#include <cstdint>

namespace qor {

bool parseLeadingInt(const QString& text, int32_t& value);
// The same rule on a NUL-terminated 8-bit reply text, without building a QString (used in
// ticks, where nothing allocates).
bool parseLeadingInt(const char* text, int32_t& value);
bool parseLeadingDouble(const QString& text, double& value);

// Store-through helpers for change handlers: parse and write the field only on success.
inline void storeInt(const QString& text, int32_t& field) { parseLeadingInt(text, field); }
inline void storeDouble(const QString& text, double& field) { parseLeadingDouble(text, field); }

// printf-style formatting in the "C" number format whatever the locale ("%10.4lf\r" etc.).
QString formatC(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The general number format of real fields shown without a stated format: up to 15 significant
// digits, no trailing zeros (-45.0 shows "-45", 0.1 shows "0.1").
QString formatGeneral(double v);

// "%10.4lf\r" for positions and jog steps, "%10.2lf\r" for scan sizes.
QString formatPosition(double v);
QString formatScanSize(double v);

}  // namespace qor
