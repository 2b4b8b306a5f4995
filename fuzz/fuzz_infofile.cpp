// libFuzzer target of the information file loader.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(infoFileInput)
