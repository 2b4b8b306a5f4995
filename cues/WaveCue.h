#pragma once
// The program's own sound cues: short tones written as PCM wave files at build time, so that
// a fresh install is heard at start-up, at the creation of the information file and at the end
// of a scan. A wave file of the same name in the start folder is played instead.

#include <cstdint>
#include <string>
#include <vector>

namespace qor::cues {

constexpr int kSampleRate = 22050;

struct Note {
    double hz;    // 0 for a rest
    int ms;
};

// The melody of a cue, chosen by its file name: rising for a start, falling for an end, a
// chime for the end of a scan, short blips for the help buttons.
std::vector<Note> melodyFor(const std::string& fileName);

// 16-bit mono PCM samples of a melody, each note with a short attack and decay so that it
// does not click.
std::vector<int16_t> render(const std::vector<Note>& melody);

// A complete RIFF/WAVE file (PCM, 16-bit, mono, kSampleRate) holding `samples`.
std::vector<uint8_t> waveFile(const std::vector<int16_t>& samples);

}  // namespace qor::cues
