#include "WaveCue.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace qor::cues {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Equal-tempered notes.
constexpr double C5 = 523.25, D5 = 587.33, E5 = 659.25, G5 = 783.99, A5 = 880.00, C6 = 1046.50,
                 E6 = 1318.51, G6 = 1567.98;

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void tag(std::vector<uint8_t>& out, const char* t) { out.insert(out.end(), t, t + 4); }

}  // namespace

std::vector<Note> melodyFor(const std::string& fileName) {
    const std::string n = lower(fileName);
    if (n == "start.wav") return {{C5, 110}, {E5, 110}, {G5, 110}, {C6, 220}};
    if (n == "inifilegen.wav") return {{G5, 120}, {0, 40}, {G5, 120}, {C6, 260}};
    if (n == "2dnkaiend.wav")   // the whole scan is done: a chime to be heard across the room
        return {{C6, 180}, {G5, 180}, {E5, 180}, {C5, 180}, {0, 60}, {C6, 160}, {C6, 360}};
    if (n == "2dnkaiendznext.wav") return {{A5, 120}, {0, 60}, {A5, 120}, {0, 60}, {E6, 200}};
    if (n == "2dscanok.wav") return {{E5, 140}, {A5, 220}};
    if (n == "onseistart.wav") return {{G5, 100}, {C6, 160}};
    if (n == "onseiend.wav") return {{C6, 100}, {G5, 160}};
    if (n.size() == 7 && n.compare(0, 2, "ss") == 0 && std::isdigit(static_cast<unsigned char>(n[2])))
        return {{C5 * std::pow(2.0, (n[2] - '0') / 7.0), 160}};
    if (n.compare(0, 4, "ecal") == 0 || n == "calcsetup.wav") return {{D5, 90}, {A5, 150}};
    // Help and picture buttons: one soft blip, its pitch from the name so that they differ.
    unsigned h = 0;
    for (char c : n) h = h * 31u + static_cast<unsigned char>(c);
    return {{G5 + (h % 8u) * 60.0, 120}, {G6 - (h % 5u) * 90.0, 70}};
}

std::vector<int16_t> render(const std::vector<Note>& melody) {
    std::vector<int16_t> out;
    const int ramp = kSampleRate / 200;   // 5 ms attack and decay
    for (const Note& note : melody) {
        const int count = std::max(0, note.ms) * kSampleRate / 1000;
        for (int i = 0; i < count; ++i) {
            double v = 0.0;
            if (note.hz > 0.0) {
                const double t = static_cast<double>(i) / kSampleRate;
                const double envelope =
                    std::min({1.0, static_cast<double>(i) / ramp, static_cast<double>(count - i) / ramp}) *
                    std::exp(-2.5 * t);
                v = envelope * (0.8 * std::sin(2 * kPi * note.hz * t) +
                                0.2 * std::sin(4 * kPi * note.hz * t));
            }
            out.push_back(static_cast<int16_t>(std::lround(v * 0.45 * 32767.0)));
        }
    }
    return out;
}

std::vector<uint8_t> waveFile(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    tag(out, "RIFF");
    put32(out, 36 + dataBytes);
    tag(out, "WAVE");
    tag(out, "fmt ");
    put32(out, 16);                 // chunk size
    put16(out, 1);                  // PCM
    put16(out, 1);                  // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);    // bytes per second
    put16(out, 2);                  // block align
    put16(out, 16);                 // bits per sample
    tag(out, "data");
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, static_cast<uint16_t>(s));
    return out;
}

}  // namespace qor::cues
