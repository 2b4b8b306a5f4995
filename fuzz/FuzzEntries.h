#pragma once
// The fuzzers' entry points, one per file reader. Each reads the input as a file of its kind,
// checks what the program relies on (nothing stored outside its array, refused files refused
// with a reason, accepted content surviving a write and a read), and returns null when every
// check holds, else the check that failed. libFuzzer calls them from fuzz_<kind>.cpp; a unit
// test replays the checked-in corpora through them.

#include <cstddef>
#include <cstdint>

// Inside an entry point: returns `what` as the failed check unless `cond` holds.
#define QOR_CHECK(cond, what)     \
    do {                          \
        if (!(cond)) return what; \
    } while (0)

namespace qor::fuzz {

const char* datInput(const uint8_t* data, std::size_t size);
const char* csvInput(const uint8_t* data, std::size_t size);
const char* roiInput(const uint8_t* data, std::size_t size);
const char* sroiInput(const uint8_t* data, std::size_t size);
const char* infoFileInput(const uint8_t* data, std::size_t size);
// A frame payload from the other end of the driver host's pipe, read as a request (the host's
// side) and as a reply (the program's side).
const char* hostProtocolInput(const uint8_t* data, std::size_t size);

}  // namespace qor::fuzz
