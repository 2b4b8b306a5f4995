#pragma once
// The map output controls of the 2D SCAN page: saving the shown map as a picture (or every
// enabled slot at once), pictures written at the end of every pass, and the three-colour
// overlay (a slot and its low and high cut for red, green and blue). The page connects the
// controls to its handlers.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace qor {

class MapToolsPanel : public QWidget {
    Q_OBJECT
public:
    explicit MapToolsPanel(QWidget* parent);

    // Fills the three slot choices with "ROI-n name" for the twenty slots (names in UTF-16).
    void setSlotNames(const QStringList& names);

    QPushButton* ButtonMapPicture = nullptr;   // "PNG保存"
    QCheckBox* CheckPictureAll = nullptr;      // every enabled slot
    QCheckBox* CheckAutoPicture = nullptr;     // pictures at the end of every pass
    QCheckBox* CheckOverlay = nullptr;         // show the overlay instead of one map
    QComboBox* ComboOverlay[3] = {};           // red, green, blue slot
    QLineEdit* EditOverlayLow[3] = {};         // cuts in counts
    QLineEdit* EditOverlayHigh[3] = {};        // 0: the map's largest count
};

}  // namespace qor
