#pragma once
// What the driver host needs from the operating system, in one unit with a branch per platform:
// loading the driver library and finding its operations, binary standard input and output, and
// memory with an inaccessible page right after it (so that a library writing far past a reply
// stops the host at once instead of corrupting it silently).

#include <cstddef>
#include <string>

namespace qor::host {

// Loads the library at `path`; null on failure with the loader's reason in `error`.
void* loadLibrary(const char* path, std::string& error);
// The address of the exported function `name`, or null.
void* findSymbol(void* library, const char* name);

// Switches standard input and output to binary (no newline translation).
void binaryStdio();

// `bytes` of read-write memory ending right before an inaccessible page; null on failure.
// Kept for the life of the process.
void* allocateBeforeGuardPage(size_t bytes);

}  // namespace qor::host
