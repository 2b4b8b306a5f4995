// Map pictures and the three-colour overlay, read back pixel by pixel: the colour bar's ends,
// the cells in their places (row 0 at the bottom), the overlay's colour in known cells.

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "scan/MapOverlay.h"
#include "scan/MapPicture.h"

#include <gtest/gtest.h>

using namespace qor;

namespace {

InfoRecord smallMap(int cols, int rows) {
    InfoRecord r{};
    r.MapPixelsX = cols;
    r.MapPixelsY = rows;
    r.MapZoom = 1;
    r.ScanXPixelPulses = r.ScanYPixelPulses = 20;
    r.MotorLogicalPulses[0] = r.MotorLogicalPulses[1] = 100;
    storeSjis(r.MapRoiElementName[0], QStringLiteral("Fe"));
    storeSjis(r.MapRoiElementName[1], QStringLiteral("Cu"));
    storeSjis(r.MapRoiElementName[2], QStringLiteral("Zn"));
    return r;
}

// The pixel at the centre of cell (x, y) of a picture.
QRgb cellPixel(const QImage& img, const QRect& map, int k, int x, int y) {
    return img.pixel(map.left() + x * k + k / 2, map.bottom() - y * k - k / 2);
}

}  // namespace

TEST(MapPicture, ColourBarEndsCarryTheScaleExtremesAndTheCellsTheirColours) {
    MapStore maps;
    maps.clear();
    const InfoRecord r = smallMap(32, 16);
    maps.at(0, 31, 15) = 5000;   // top right: beyond the scale's top
    maps.at(0, 3, 0) = 250;      // bottom row
    MapDisplayState view;
    fillMapScales(view);
    view.MapUseColour = 1;
    view.MapZMax = 1000;
    view.MapLowPct = 0;
    view.MapHighPct = 100;
    const MapScale scale = mapScaleOf(view);
    ASSERT_EQ(24, scale.steps);

    MapPictureLayout lay;
    const QImage img = renderMapPicture(maps, 0, r, scale, &lay);
    const int k = mapPictureCellSize(32, 16);
    EXPECT_EQ(16, k) << "a small map is enlarged to about 512 pixels";
    EXPECT_EQ(QRect(lay.map.topLeft(), QSize(32 * k, 16 * k)), lay.map);
    // The bar: the first entry along its bottom, the last along its top, labelled 0 and 1000.
    EXPECT_EQ(view.MapColourScale[0], img.pixel(lay.bar.center().x(), lay.bar.bottom()));
    EXPECT_EQ(view.MapColourScale[23], img.pixel(lay.bar.center().x(), lay.bar.top()));
    EXPECT_EQ(QStringLiteral("0"), lay.lowText);
    EXPECT_EQ(QStringLiteral("1000"), lay.highText);
    EXPECT_TRUE(lay.title.startsWith(QStringLiteral("Fe")));
    // Cells: the count 5000 takes the top colour at the top right, 250 the entry 6 in row 0.
    EXPECT_EQ(view.MapColourScale[23], cellPixel(img, lay.map, k, 31, 15));
    EXPECT_EQ(view.MapColourScale[6], cellPixel(img, lay.map, k, 3, 0));
    EXPECT_EQ(view.MapColourScale[0], cellPixel(img, lay.map, k, 3, 1));
    // The per-slot scale of pictures written on their own: the MAX rule.
    EXPECT_EQ(5000, mapScaleForSlot(view, maps, 0, 32, 16).top());
}

TEST(MapOverlay, EachChannelIsScaledBetweenItsOwnCuts) {
    MapStore maps;
    maps.clear();
    const InfoRecord r = smallMap(8, 8);
    // Cell (2, 5): red at its high cut, green at its low cut, blue halfway; cell (6, 1): only
    // green, at the largest green count (its high cut is automatic).
    maps.at(3, 2, 5) = 400;
    maps.at(4, 2, 5) = 10;
    maps.at(5, 2, 5) = 150;
    maps.at(4, 6, 1) = 80;
    MapOverlayChoice c;
    c.ch[0] = {3, 0, 400};
    c.ch[1] = {4, 10, 0};
    c.ch[2] = {5, 100, 200};
    const MapOverlayChoice eff = effectiveOverlay(maps, c, 8, 8);
    EXPECT_EQ(80, eff.ch[1].high);
    EXPECT_EQ(qRgb(255, 0, 127), overlayColour(maps, eff, 2, 5));
    EXPECT_EQ(qRgb(0, 255, 0), overlayColour(maps, eff, 6, 1));

    // Drawn into the map image: 8 x 8 cells of 50 pixels over a 402 x 422 image, row 0 at the
    // bottom just above the 20-pixel strip.
    MapDisplayState view;
    view.DrawExtentX = view.DrawExtentY = 400;
    QImage img(402, 422, QImage::Format_RGB32);
    img.fill(Qt::black);
    MapOverlayView ov;
    ov.draw(img, maps, c, view, r);
    const int bottom = 422 - 20 - 1;
    EXPECT_EQ(qRgb(255, 0, 127), img.pixel(2 * 50 + 25, bottom - 5 * 50 - 25));
    EXPECT_EQ(qRgb(0, 255, 0), img.pixel(6 * 50 + 25, bottom - 1 * 50 - 25));
    EXPECT_EQ(qRgb(0, 0, 0), img.pixel(6 * 50 + 25, bottom - 5 * 50 - 25));

    // The overlay picture holds the same colours.
    MapPictureLayout lay;
    const QImage pic = renderOverlayPicture(maps, c, r, &lay);
    const int k = mapPictureCellSize(8, 8);
    EXPECT_EQ(qRgb(255, 0, 127), cellPixel(pic, lay.map, k, 2, 5));
    EXPECT_EQ(QStringLiteral("R ROI-4   G ROI-5   B ROI-6"), lay.title);
}
