// libFuzzer target of the binary spectrum file (.DAT) reader.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(datInput)
