#pragma once
// The calibration dialog's plot: the reference points (channel, energy), the fitted polynomial
// through them and, below, each point's residual (energy given minus energy fitted) in eV.

#include <QImage>
#include <QString>

namespace qor {

// Residual of point i in eV for energies in `unit` ("keV" when the unit is not "eV" or "MeV").
double calibResidualEv(double x, double y, const double coef[4], const QString& unit);
// Paints the plot of n points into `img` (square, white with a black frame).
void drawCalibPlot(QImage& img, const double* x, const double* y, int n, const double coef[4],
                   const QString& unit);

}  // namespace qor
