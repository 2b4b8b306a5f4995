#pragma once
// The test controls of the stand-in driver library (libkx10shim): tests resolve them with
// QLibrary next to the driver operations that Kx10Library resolves.
//
// kx10shim_reset(clock, log): a fresh simulated instrument (default configuration) on `clock`,
//   every call the library receives logged into `log` (null: no log). Until the first reset
//   the library runs a simulated instrument on the steady clock, as the program's own does.
// kx10shim_spill(bytes, seen): the next reply operation writes `bytes` bytes past its documented
//   length. seen = 0 writes them with plain stores that no sanitizer watches (as a library built
//   without one would); seen = 1 writes them with memset, which the address sanitizer checks.

#include "support/LoggingKx10.h"

namespace qor { class Clock; }

using Kx10ShimReset = void (*)(qor::Clock* clock, qor::test::CallLog* log);
using Kx10ShimSpill = void (*)(int bytes, int seen);
