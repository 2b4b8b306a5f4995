// libFuzzer target of the current-ROI file (.sroi) reader.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(sroiInput)
