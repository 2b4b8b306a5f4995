// The map display's drawing and rules, read back from the pixels of the images.

#include "app/TextCodec.h"
#include "scan/MapView.h"

#include <QGuiApplication>
#include <cstring>
#include <gtest/gtest.h>

using namespace qor;

namespace {

// Text drawing needs a GUI application; the unit tests have none of their own.
class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char arg0[] = "qor10_unit_tests";
        static char* argv[] = {arg0, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }

private:
    QGuiApplication* app_ = nullptr;
};
[[maybe_unused]] ::testing::Environment* const kGuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

// One map store for the whole file (128 MiB); each test writes the cells it reads.
MapStore& store() {
    static MapStore maps;
    return maps;
}

// A map image of the usual shape: `side` wide, side + 20 tall; the drawing area is
// (side - 2) x (side - 2).
struct MapDraw : ::testing::Test {
    MapView view;
    MapDisplayState mv;
    InfoRecord rec{};
    QImage img;

    void SetUp() override {
        fillMapScales(mv);
        rec.MapZoom = 1;
        shape(82);
    }
    void shape(int side) {
        img = QImage(side, side + 20, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        mv.DrawExtentX = side - 2;
        mv.DrawExtentY = side - 2;
    }
    // A slot filled with one value per cell over cols x rows.
    void fill(int slot, int cols, int rows, int32_t (*f)(int, int)) {
        for (int x = 0; x < cols; ++x)
            for (int y = 0; y < rows; ++y) store().at(slot, x, y) = f(x, y);
    }
    // Pixel at column x, distance q above the strip line.
    QRgb above(int x, int q) const { return img.pixel(x, img.height() - 21 - q); }
};

}  // namespace

TEST(MapScale, RangeAndIndexFollowTheCuts) {
    EXPECT_EQ(1000, mapColourRange(1000, 0, 100));
    EXPECT_EQ(10, mapColourRange(1000, 40, 40)) << "both cuts equal: range raised to 10";
    EXPECT_EQ(600, mapColourRange(1000, 20, 80));
    EXPECT_EQ(2147483647 - 21474836, mapColourRange(2147483647, 1, 100)) << "no overflow";

    EXPECT_EQ(0, mapColourIndex(7, 7, 1000, 128)) << "a count equal to MapLowPct is index 0";
    EXPECT_EQ(64, mapColourIndex(500, 0, 1000, 128));
    EXPECT_EQ(127, mapColourIndex(1000, 0, 1000, 128));
    EXPECT_EQ(127, mapColourIndex(2147483647, -5, 1000, 128));
    EXPECT_EQ(0, mapColourIndex(-2147483647 - 1, 100, 1000, 128));
    EXPECT_EQ(23, mapColourIndex(999, 0, 1000, 24));
    EXPECT_EQ(22, mapColourIndex(958, 0, 1000, 24)) << "958 * 24 / 1000 = 22.99";
}

TEST(MapRules, ViewButtonsAndZoom) {
    EXPECT_EQ(900, zMaxLowered(1000));
    EXPECT_EQ(9, zMaxLowered(11));
    EXPECT_EQ(10, zMaxLowered(10)) << "stops at 10";
    EXPECT_EQ(1100, zMaxRaised(1000));
    EXPECT_EQ(1099998, zMaxRaised(999999));
    EXPECT_EQ(1000000, zMaxRaised(1000000)) << "stops at one million";
    EXPECT_EQ(2, zoomedIn(1));
    EXPECT_EQ(4, zoomedIn(2));
    EXPECT_EQ(4, zoomedIn(4));
    EXPECT_EQ(2, zoomedOut(4));
    EXPECT_EQ(1, zoomedOut(2));
    EXPECT_EQ(1, zoomedOut(1));
    EXPECT_EQ(50, mapShownCount(100, 2));
    EXPECT_EQ(15, mapShownCount(60, 4));
    EXPECT_EQ(60, mapShownCount(60, 3)) << "an unknown zoom shows like zoom 1";
}

TEST(MapRules, LargestCountCoversTheAreaInUseOnly) {
    MapStore& m = store();
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 6; ++y) m.at(30, x, y) = -5;
    EXPECT_EQ(0, largestMapCount(m, 30, 4, 4)) << "all negative gives 0";
    m.at(30, 3, 2) = 77;
    m.at(30, 5, 5) = 900;   // outside a 4 x 4 area
    EXPECT_EQ(77, largestMapCount(m, 30, 4, 4));
    EXPECT_EQ(900, largestMapCount(m, 30, 6, 6));
    EXPECT_EQ(0, largestMapCount(m, 40, 6, 6)) << "a slot outside the arrays reads nothing";
    // A size beyond the arrays is held at 1024: the call must stay inside the store.
    m.at(31, 1023, 1023) = 123456;
    EXPECT_EQ(123456, largestMapCount(m, 31, 5000, 5000));
    m.at(31, 1023, 1023) = 0;
}

TEST(MapRules, ContrastCountsAndPercentages) {
    EXPECT_EQ(400, contrastCount(40, 1000));
    EXPECT_EQ(40, contrastPercent(40, 1000));
    EXPECT_EQ(3, contrastCount(50, 7));
    EXPECT_EQ(42, contrastPercent(50, 7)) << "3 * 100 / 7: the percentage of the shown count";
    EXPECT_EQ(2147483647, contrastCount(100, 2147483647)) << "no overflow";
    EXPECT_EQ(0, contrastCount(60, 0));
    EXPECT_EQ(60, contrastPercent(60, 0)) << "without a full scale the bar position is kept";
}

TEST(MapRules, LegendBandsAndMapCells) {
    EXPECT_EQ(9, legendSlotAt(150, 250));
    EXPECT_EQ(-1, legendSlotAt(450, 50));
    EXPECT_EQ(0, legendSlotAt(0, 0));
    EXPECT_EQ(19, legendSlotAt(399, 500)) << "Y 400 to 500 is row 4";
    EXPECT_EQ(-1, legendSlotAt(10, 501));
    EXPECT_EQ(-1, legendSlotAt(-1, 10));

    // Paint area 300 x 320: the map part is 300 high above the strip.
    MapClickCell c = mapCellAt(150, 170, 300, 320, 100, 60);
    EXPECT_EQ(130, c.yUp);
    EXPECT_EQ(50, c.cellX);   // 150 / 300 * 100 + 0.5
    EXPECT_EQ(26, c.cellY);   // 130 / 300 * 60 + 0.5
    c = mapCellAt(0, 319, 300, 320, 100, 60);
    EXPECT_EQ(-19, c.yUp) << "a click in the strip lies below row 0";
    EXPECT_EQ(-3, c.cellY);
    EXPECT_FALSE(mapCellInside(0, c.cellX, c.cellY));
    EXPECT_TRUE(mapCellInside(31, 1023, 1023));
    EXPECT_FALSE(mapCellInside(0, 1024, 0));
    EXPECT_FALSE(mapCellInside(32, 0, 0));
}

TEST(MapRules, ReadoutTexts) {
    InfoRecord r{};
    r.MapViewSize[0] = 256;
    r.MapViewSize[1] = 128;
    r.MapViewOrigin[0] = 0;
    r.MapViewOrigin[1] = 0;
    MapClickCell c;
    c.yUp = 40;
    c.cellX = 12;
    c.cellY = 7;
    EXPECT_EQ(QStringLiteral("\n## mouse (33,40) Cell(12,7) matrix(256,128) offset(0,0) ZMax "
                             "    1000　      -321 count"),
              mapReadoutText(c, 33, r, 1000, -321));
    EXPECT_EQ(QStringLiteral("\n元素#   9"), legendSlotText(9));
}

TEST_F(MapDraw, GreyCellsSitRowZeroAtTheBottom) {
    // 4 x 4 cells of 20 x 20 pixels; cell (x, y) holds 100 * x + 250 * y.
    rec.MapPixelsX = 4;
    rec.MapPixelsY = 4;
    fill(0, 4, 4, [](int x, int y) { return 100 * x + 250 * y; });
    mv.MapViewSlot = 0;
    const MapDrawOutcome out = view.drawMap(img, store(), mv, rec);
    EXPECT_FALSE(out.accessOver);
    EXPECT_EQ(4, rec.MapViewSize[0]);
    EXPECT_EQ(4, rec.MapViewSize[1]);
    EXPECT_EQ(1000, mv.MapColourRange);
    auto grey = [this](int32_t count) { return mv.MapGreyScale[count * 128 / 1000]; };
    for (int cx = 0; cx < 4; ++cx)
        for (int cy = 0; cy < 4; ++cy) {
            const int32_t count = 100 * cx + 250 * cy;
            const QRgb want = count >= 1000 ? mv.MapGreyScale[127] : grey(count);
            // Both corners of the cell and its middle.
            EXPECT_EQ(want, above(20 * cx, 20 * cy)) << cx << "," << cy;
            EXPECT_EQ(want, above(20 * cx + 19, 20 * cy + 19)) << cx << "," << cy;
            EXPECT_EQ(want, above(20 * cx + 10, 20 * cy + 10)) << cx << "," << cy;
        }
    // Row 0 is just above the strip line; row 3 ends two pixels under the top.
    EXPECT_EQ(grey(0), img.pixel(0, img.height() - 21));
    EXPECT_EQ(grey(3 * 250), img.pixel(0, 2));
}

TEST_F(MapDraw, BackgroundOutlineAndStrip) {
    rec.MapPixelsX = 4;
    rec.MapPixelsY = 4;
    fill(0, 4, 4, [](int, int) { return 1000; });
    view.drawMap(img, store(), mv, rec);
    const int w = img.width();
    const int h = img.height();
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(40, 0)) << "top outline";
    EXPECT_EQ(qRgb(0, 0, 0), img.pixel(40, 1)) << "inside, above the cell area";
    EXPECT_EQ(qRgb(0, 0, 0), img.pixel(w - 1, 40)) << "right of the cell area";
    EXPECT_EQ(qRgb(0, 0, 0), img.pixel(w - 2, 40));
    EXPECT_EQ(mv.MapGreyScale[127], img.pixel(w - 3, 40));
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(40, h - 20)) << "the strip line";
    for (int y = h - 19; y < h; ++y) EXPECT_EQ(qRgb(0, 0, 0), img.pixel(40, y)) << y;

    // A read-out puts white text into the strip and nowhere else.
    mv.MapReadout = QStringLiteral("\n## mouse (1,2) Cell(3,4)");
    view.drawMap(img, store(), mv, rec);
    int lit = 0;
    for (int y = h - 19; y < h; ++y)
        for (int x = 0; x < w; ++x) lit += qGray(img.pixel(x, y)) > 128;
    EXPECT_GT(lit, 10);
    const QImage first = img.copy(0, h - 19, w, 19);
    mv.MapReadout = QStringLiteral("\n#");   // short enough for the narrow strip
    view.drawMap(img, store(), mv, rec);
    EXPECT_NE(first, img.copy(0, h - 19, w, 19)) << "a new read-out replaces the old one";
    mv.MapReadout.clear();
    view.drawMap(img, store(), mv, rec);
    lit = 0;
    for (int y = h - 19; y < h; ++y)
        for (int x = 0; x < w; ++x) lit += qGray(img.pixel(x, y)) > 128;
    EXPECT_EQ(0, lit) << "an old read-out does not stay in the strip";
}

TEST_F(MapDraw, ColourScaleAndClamp) {
    rec.MapPixelsX = 2;
    rec.MapPixelsY = 1;
    fill(3, 2, 1, [](int x, int) { return x == 0 ? -400 : 5000000; });
    mv.MapViewSlot = 3;
    mv.MapUseColour = 1;
    view.drawMap(img, store(), mv, rec);
    EXPECT_EQ(qRgb(0, 0, 0), above(10, 10)) << "below the low cut: entry 0";
    EXPECT_EQ(qRgb(255, 0, 0), above(60, 10)) << "above the range: entry 23";

    // Cuts at 20 and 80 percent of 1000: range 600, offset by MapLowPct (20) counts.
    mv.MapUseColour = 0;
    mv.MapLowPct = 20;
    mv.MapHighPct = 80;
    fill(3, 2, 1, [](int x, int) { return x == 0 ? 20 : 320; });
    view.drawMap(img, store(), mv, rec);
    EXPECT_EQ(600, mv.MapColourRange);
    EXPECT_EQ(mv.MapGreyScale[0], above(10, 10));
    EXPECT_EQ(mv.MapGreyScale[64], above(60, 10));   // 300 * 128 / 600
}

TEST_F(MapDraw, ZoomShowsTheLowerLeftPartEnlarged) {
    rec.MapPixelsX = 8;
    rec.MapPixelsY = 8;
    fill(0, 8, 8, [](int x, int y) { return 10 * x + 100 * y; });
    rec.MapZoom = 2;
    view.drawMap(img, store(), mv, rec);
    EXPECT_EQ(4, rec.MapViewSize[0]);
    EXPECT_EQ(4, rec.MapViewSize[1]);
    // Cells are now 20 pixels: cell (3, 3) fills the top right of the area.
    EXPECT_EQ(mv.MapGreyScale[330 * 128 / 1000], above(70, 70));
    EXPECT_EQ(mv.MapGreyScale[0], above(5, 5));

    rec.MapPixelsX = 100;
    rec.MapPixelsY = 60;
    view.drawMap(img, store(), mv, rec);
    EXPECT_EQ(50, rec.MapViewSize[0]) << "zoom 2 on 100 x 60 shows columns 0 to 49";
    EXPECT_EQ(30, rec.MapViewSize[1]);
}

TEST_F(MapDraw, UnevenCellsCoverTheAreaWithoutGaps) {
    // 3 x 7 cells on an 80 x 80 area: edges at (k * 26.67 + 0.5) and (k * 11.43 + 0.5).
    rec.MapPixelsX = 3;
    rec.MapPixelsY = 7;
    fill(0, 3, 7, [](int x, int y) { return 100 + 10 * x + 100 * y; });
    view.drawMap(img, store(), mv, rec);
    const int colEdges[] = {0, 27, 53, 80};
    const int rowEdges[] = {0, 11, 23, 34, 46, 57, 69, 80};
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 7; ++r) {
            const QRgb want = mv.MapGreyScale[(100 + 10 * c + 100 * r) * 128 / 1000];
            EXPECT_EQ(want, above(colEdges[c], rowEdges[r])) << c << "," << r;
            EXPECT_EQ(want, above(colEdges[c + 1] - 1, rowEdges[r + 1] - 1)) << c << "," << r;
        }
}

TEST_F(MapDraw, MoreCellsThanPixelsAndCellsPastTheArrays) {
    shape(502);
    rec.MapPixelsX = 1024;
    rec.MapPixelsY = 1024;
    store().fillTestPattern();
    mv.MapZMax = 4000;
    EXPECT_FALSE(view.drawMap(img, store(), mv, rec).accessOver);
    // Pixel column 250 lies over map column 513 (edges 250, 250, 250, 251 for columns 511 to
    // 514: the empty cells 511 and 512 paint nothing) and the row above the line over row 1.
    EXPECT_EQ(mv.MapGreyScale[(513 + 1) * 128 / 4000], above(250, 0));
    EXPECT_EQ(mv.MapGreyScale[(1023 + 1023) * 128 / 4000], above(499, 499));

    rec.MapPixelsX = 2048;
    rec.MapPixelsY = 512;
    const MapDrawOutcome out = view.drawMap(img, store(), mv, rec);
    EXPECT_TRUE(out.accessOver) << "columns past 1023 are reported";
    EXPECT_EQ(qRgb(0, 0, 0), above(400, 10)) << "and left black";
    EXPECT_NE(qRgb(0, 0, 0), above(100, 10));

    rec.MapPixelsX = 0;
    img.fill(Qt::darkCyan);
    EXPECT_FALSE(view.drawMap(img, store(), mv, rec).accessOver);
    EXPECT_EQ(qRgb(0, 0, 0), above(100, 10)) << "no columns: background only";
}

TEST(MapLegend, GridNamesAndRepaintOnChange) {
    MapView view;
    InfoRecord rec{};
    for (int i = 0; i < 20; ++i) storeSjis(rec.MapRoiElementName[i], QStringLiteral("Fe"));
    QImage img(400, 504, QImage::Format_RGB32);
    img.fill(Qt::red);
    view.drawLegend(img, rec);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(black, img.pixel(50, 0));
    EXPECT_EQ(black, img.pixel(0, 50));
    EXPECT_EQ(black, img.pixel(50, 100));
    EXPECT_EQ(black, img.pixel(50, 400));
    EXPECT_EQ(black, img.pixel(50, 502));
    EXPECT_EQ(black, img.pixel(99, 50)) << "g = (400 - 2) / 4 = 99";
    EXPECT_EQ(black, img.pixel(297, 450));
    EXPECT_EQ(black, img.pixel(399, 50)) << "the right border closes the last column";
    EXPECT_EQ(black, img.pixel(399, 450));
    EXPECT_EQ(white, img.pixel(50, 50));
    EXPECT_EQ(white, img.pixel(350, 450)) << "the band under the square is white too";
    auto inkIn = [&img](int x0, int y0) {
        int ink = 0;
        for (int y = y0; y < y0 + 13; ++y)
            for (int x = x0; x < x0 + 40; ++x) ink += qGray(img.pixel(x, y)) < 100;
        return ink;
    };
    EXPECT_GT(inkIn(7, 87), 5) << "slot 0 at the top left";
    EXPECT_GT(inkIn(7 + 3 * 99, 87 + 4 * 100), 5) << "slot 19 at the bottom right";
    EXPECT_EQ(0, inkIn(30, 20)) << "nothing inside the band above the name";

    // Unchanged names: the legend is not painted again.
    img.setPixel(50, 50, qRgb(1, 2, 3));
    view.drawLegend(img, rec);
    EXPECT_EQ(qRgb(1, 2, 3), img.pixel(50, 50));
    // A changed name repaints it.
    storeSjis(rec.MapRoiElementName[5], QStringLiteral("Cu"));
    view.drawLegend(img, rec);
    EXPECT_EQ(white, img.pixel(50, 50));
}
