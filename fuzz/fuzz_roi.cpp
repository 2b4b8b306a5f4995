// libFuzzer target of the ROI table file (.ROI) reader.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(roiInput)
