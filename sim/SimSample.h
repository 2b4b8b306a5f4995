#pragma once
// The synthetic specimen under the beam: a square tile whose regions a person recognises on a
// map. In the tile's own coordinates (u, v from 0 to 1, v growing with stage Y):
//   Ti  a gradient across the whole tile, weak on the left (u = 0), strong on the right;
//   Fe  a disc in the upper left, richest at its centre;
//   Cu  a ring in the upper right;
//   Zn  a triangle pointing up in the lower right;
//   Pb  a plus-shaped cross in the lower left.
// Outside the tile only the scattered continuum is seen.

#include "sim/SimEmission.h"

namespace qor {

class SimSample {
public:
    SimSample(double originX, double originY, double size)
        : originX_(originX), originY_(originY), size_(size > 0.0 ? size : 1.0) {}

    // Weights of the emitting components at stage position (x, y) in logical units:
    // w[kContinuum] is 1, w[kTi..kPb] the element concentrations 0..1.
    void weights(double x, double y, double w[kSimComponents]) const;
    // The same in tile coordinates.
    static void weightsInTile(double u, double v, double w[kSimComponents]);

private:
    double originX_, originY_, size_;
};

}  // namespace qor
