#include "host/HostPlatform.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qor::host {

#ifdef _WIN32

void* loadLibrary(const char* path, std::string& error) {
    HMODULE lib = LoadLibraryA(path);
    if (!lib) error = "the system cannot load it (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(lib);
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void binaryStdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

void* allocateBeforeGuardPage(size_t bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t body = (bytes + page - 1) / page * page;
    auto* base = static_cast<char*>(
        VirtualAlloc(nullptr, body + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base) return nullptr;
    DWORD old = 0;
    if (!VirtualProtect(base + body, page, PAGE_NOACCESS, &old)) return nullptr;
    return base + body - bytes;
}

#else

void* loadLibrary(const char* path, std::string& error) {
    void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* why = dlerror();
        error = why ? why : "the loader refused it";
    }
    return lib;
}

void* findSymbol(void* library, const char* name) { return dlsym(library, name); }

void binaryStdio() {}

void* allocateBeforeGuardPage(size_t bytes) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t body = (bytes + page - 1) / page * page;
    void* mem = mmap(nullptr, body + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                     -1, 0);
    if (mem == MAP_FAILED) return nullptr;
    char* base = static_cast<char*>(mem);
    if (mprotect(base + body, page, PROT_NONE) != 0) return nullptr;
    return base + body - bytes;
}

#endif

}  // namespace qor::host
