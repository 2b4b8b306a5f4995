// libFuzzer target of the driver host's frame decoders.

#include "fuzz/FuzzMain.h"

QOR_FUZZ_TARGET(hostProtocolInput)
