#pragma once
// The question asked before the window closes while something measures: closing ends a running
// mapping scan, element scan or MCA measurement, so the operator is asked first.

#include "app/AppState.h"
#include "instrument/Kx10.h"

#include <QString>

namespace qor {

// What is measuring now, as the question names it: "二次元スキャン" (ScanMode 2), "元素スキャン"
// (ScanMode 3), "MCA測定" (online, an enabled MCA whose status says it measures), or an empty
// text when nothing is.
QString workUnderWay(const AppState& st, Kx10& kx);

// The caption and the text of the question for `what` (a text of workUnderWay).
QString closeQuestionCaption();
QString closeQuestionText(const QString& what);

}  // namespace qor
