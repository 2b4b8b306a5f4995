#include "scan/MapStore.h"

#include <cstring>

namespace qor {

MapStore::MapStore() : cells_(new int32_t[kMapCells]) {}

void MapStore::clear() { std::memset(cells_.get(), 0, kMapCells * sizeof(int32_t)); }

void MapStore::fillTestPattern() {
    int32_t* p = cells_.get();
    for (int s = 0; s < kMapSlots; ++s)
        for (int x = 0; x < kMapSide; ++x) {
            const int32_t base = x + 1000 * s;
            for (int y = 0; y < kMapSide; ++y) *p++ = base + y;
        }
}

void fillMapScales(MapDisplayState& m) {
    for (int k = 0; k < 128; ++k) m.MapGreyScale[k] = qRgb(2 * k, 2 * k, 2 * k);
    static const unsigned char kColours[24][3] = {
        {0, 0, 0},      {64, 0, 112},   {48, 0, 144},   {0, 0, 176},    {0, 0, 224},
        {0, 64, 255},   {0, 128, 255},  {0, 160, 240},  {0, 208, 240},  {0, 224, 176},
        {0, 224, 128},  {0, 224, 0},    {32, 240, 0},   {64, 255, 0},   {144, 255, 0},
        {216, 255, 0},  {255, 255, 32}, {255, 234, 32}, {255, 208, 32}, {255, 176, 16},
        {255, 144, 16}, {255, 96, 16},  {255, 64, 16},  {255, 0, 0}};
    for (int k = 0; k < 24; ++k)
        m.MapColourScale[k] = qRgb(kColours[k][0], kColours[k][1], kColours[k][2]);
}

}  // namespace qor
