// libFuzzer target of the CSV spectrum file reader.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(csvInput)
