#pragma once
// The mapping scan most window tests run: connected, a one-way (or back-and-forth) square scan
// of the specimen tile at 0.4 mm per pixel and 400 pps, map slot 1 Fe K-alpha (ROI 1, 628-652)
// and slot 2 Cu K-alpha (ROI 2, 793-817), files into the harness's folder with the prefix
// "run", the 2D SCAN page shown.

#include "support/Harness.h"

namespace qor::test {

// Fails the test (fatally) when the connect does not go online.
void configureFeCuScan(Harness& h, int side, int method = 0);

}  // namespace qor::test
