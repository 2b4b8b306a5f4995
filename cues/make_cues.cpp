// Build step: writes the program's sound cues as wave files.
//   qor10_make_cues <output folder> <file name>...

#include "WaveCue.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <file name>...\n", argv[0]);
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string path = std::string(argv[1]) + "/" + argv[i];
        const auto bytes = qor::cues::waveFile(qor::cues::render(qor::cues::melodyFor(argv[i])));
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
