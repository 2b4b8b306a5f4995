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

//
// Through the driver host the library lives in another process and is set up by the environment
// the host inherits:
// KX10SHIM_SHARED=FILE: a file of sizeof(ShimShared) bytes mapped by both processes: the
//   simulated instrument runs on its clock (nowMs; a wait inside the library moves it on), and
//   a spillBytes above 0 is taken (and cleared) by the next reply operation, as
//   kx10shim_spill(spillBytes, spillSeen).
// KX10SHIM_LOG=FILE: every call is logged, and the log is written to FILE, one call a line, when
//   the process ends normally.

#include "support/LoggingKx10.h"

#include <cstdint>

struct ShimShared {
    volatile int64_t nowMs;
    volatile int32_t spillBytes;
    volatile int32_t spillSeen;
};

namespace qor { class Clock; }

using Kx10ShimReset = void (*)(qor::Clock* clock, qor::test::CallLog* log);
using Kx10ShimSpill = void (*)(int bytes, int seen);
