#pragma once
// Map pictures: a map slot (or the three-colour overlay) as a picture that leaves the program,
// with a title, the axes in mm and, for a single map, a colour bar labelled with its counts.
// The colours are those of the map display: the same table, steps and contrast cuts.
//
// Also the colour bar beside the live map. Widget-free: everything paints into QImages.

#include "app/InfoRecord.h"
#include "app/SafeWrite.h"
#include "scan/MapStore.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

namespace qor {

struct MapOverlayChoice;

// The colour scale the map display uses now: entry k of `table` for the counts from
// low + k x range / steps on (index = (count - low) x steps / range, held inside the table).
struct MapScale {
    const QRgb* table = nullptr;
    int steps = 0;
    int32_t low = 0;
    int32_t range = 10;
    int32_t top() const { return low + range; }   // the count at the upper end of the bar
};
MapScale mapScaleOf(const MapDisplayState& view);
// The display's table and cuts with the full scale set by the MAX rule for map `slot` (its
// largest count over the area in use): the scale of a picture written for a slot on its own.
MapScale mapScaleForSlot(const MapDisplayState& view, const MapStore& maps, int slot,
                         int32_t pixelsX, int32_t pixelsY);

// Where a picture put its parts, and the texts of the colour bar's ends.
struct MapPictureLayout {
    QRect map;        // the cells; row 0 along its bottom edge
    QRect bar;        // the colour bar (empty for the overlay); its lowest entry at the bottom
    QString lowText;  // the count at the bar's lower end
    QString highText; // the count at the bar's upper end
    QString title;
};

// Pixels per cell of a picture: maps smaller than 512 cells are enlarged to about 512 pixels.
int mapPictureCellSize(int columns, int rows);

// Map slot `slot` over the area in use, with the element name as title, the colour bar and the
// axes in mm.
QImage renderMapPicture(const MapStore& maps, int slot, const InfoRecord& rec,
                        const MapScale& scale, MapPictureLayout* layout = nullptr);
// The three-colour overlay, titled with the three element names.
QImage renderOverlayPicture(const MapStore& maps, const MapOverlayChoice& choice,
                            const InfoRecord& rec, MapPictureLayout* layout = nullptr);

// Writes `image` as a PNG file through the program's safe-write rule.
WriteOutcome saveMapPicture(const QString& path, const QImage& image);

// The colour bar beside the live map: the element name at the top, the bar under it with the
// upper count above and the lower count below. Repaints only when something shown changed.
class MapColourBar {
public:
    // `sjisName` is the slot's element name field (32 bytes, Shift-JIS).
    void draw(QImage& img, const char* sjisName, const MapScale& scale);
    QRect barRect() const { return bar_; }
    // The next draw repaints (after the image was used for something else).
    void invalidate() { valid_ = false; }
    const QString& lowText() const { return lowText_; }
    const QString& highText() const { return highText_; }

private:
    char nameField_[32] = {};
    QString name_;
    MapScale scale_;
    QRect bar_;
    QSize size_;
    bool valid_ = false;
    QString lowText_;
    QString highText_;
};

}  // namespace qor
