#pragma once
// 2D SCAN page: the legend of the map ROI slots (PaintBoxElem / ImageElem), the element map
// (PaintBox2D / Image2D) with its contrast track bars and view buttons, the motor groups of the
// X, Y and Z axes, and the scan panel Panel5 (start and stop, progress, queue warnings, ranges,
// map file name).

#include "app/Page.h"
#include "app/PaintBox.h"
#include "scan/MapView.h"
#include "scan/ScanSequencer.h"
#include "scan/StageControl.h"
#include "scan/StageLamp.h"
#include "scan/StagePositionBox.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <memory>

namespace qor {

class RecoverJournalDlg;

class Scan2DPage : public Page {
    Q_OBJECT
public:
    Scan2DPage(PageContext ctx, QWidget* parent);
    ~Scan2DPage() override;

    // Places and sizes the legend area and the map area (paint areas and their images) and
    // sets the map view's drawing extents.
    void setMapAreas(QRect elementMap, QRect map2D);
    // One tick of the mapping scan (Timer2, online, ScanMode 2), then the scan panel and the
    // Timer2 period follow what the sequencer shows.
    void scanTick();
    // Redraws both images and copies them to their paint areas; does nothing while the map
    // display is held or while this page is not the visible one.
    void DrawMap();

    ScanSequencer& sequencer() { return seq_; }
    StageControl& stage() { return stage_; }

    void startupStep(int step) override;
    void tickDuty() override;

    // Handlers.
    void Edit141Change();
    void TrackBar1Change();
    void TrackBar2Change();
    void SpeedButton36Click();
    void SpeedButton37Click();
    void SpeedButton38Click();
    void SpeedButton46Click();
    void SpeedButton49Click();
    void SpeedButton47Click();
    void SpeedButton48Click();
    void SpeedButton50Click();
    void PaintBoxElemMouseDown(Qt::MouseButton button, int x, int y);
    void PaintBox2DMouseDown(Qt::MouseButton button, int x, int y);

    // Scan.
    void Button65Click();   // Start SCAN
    void Button66Click();   // Stop SCAN
    // Looks for unfinished scan journals in the save folder and offers each one for recovery
    // (the button, and the start of the program with `quiet`: nothing said when none is found).
    void ButtonRecoverScanClick();
    void offerRecovery(bool quiet);

    // Stage: the jog buttons share their handlers with the other pages' jog pads.
    void Button29Click();   // Button72: X - JogStepX
    void Button28Click();   // Button73: X + JogStepX
    void Button27Click();   // Button71: Y - JogStepY
    void Button26Click();   // Button69: Y + JogStepY
    void Button34Click();   // Button75: Z - MotorJogStep[2]
    void Button36Click();   // Button76: Z + MotorJogStep[2]
    void Button74Click();   // X Set 0
    void Button70Click();   // Y Set 0
    void Button77Click();   // Z Set 0
    void Button63Click();   // GOTO (0,0,0)
    void Button64Click();   // GOTO (0,0)
    void Button68Click();   // Stop Motor

    // Map areas.
    PaintBox* PaintBoxElem = nullptr;
    QImage ImageElem;
    PaintBox* PaintBox2D = nullptr;
    QImage Image2D;

    // Contrast and view.
    QSlider* TrackBar1 = nullptr;   // lower cut ("Ｚ軸 Bottom")
    QSlider* TrackBar2 = nullptr;   // upper cut ("Ｚ軸 Top")
    QLineEdit* Edit145 = nullptr;   // lower cut in counts
    QLineEdit* Edit146 = nullptr;   // upper cut in counts
    QToolButton* SpeedButton36 = nullptr;   // colour scale
    QToolButton* SpeedButton37 = nullptr;   // grey scale
    QToolButton* SpeedButton38 = nullptr;   // full scale down
    QToolButton* SpeedButton46 = nullptr;   // full scale up
    QToolButton* SpeedButton49 = nullptr;   // full scale = largest count
    QToolButton* SpeedButton47 = nullptr;   // zoom in
    QToolButton* SpeedButton48 = nullptr;   // zoom out
    QToolButton* SpeedButton50 = nullptr;   // zoom reset

    // Motor groups.
    QGroupBox* GroupMotorY = nullptr;
    QGroupBox* GroupMotorX = nullptr;
    QGroupBox* GroupMotorZ = nullptr;
    QPushButton* Button71 = nullptr;   // Y ◀
    QPushButton* Button69 = nullptr;   // Y ▶
    QPushButton* Button70 = nullptr;   // Y Set 0
    QLineEdit* Edit142 = nullptr;      // Y position
    QPushButton* Button72 = nullptr;   // X ◀
    QPushButton* Button73 = nullptr;   // X ▶
    QPushButton* Button74 = nullptr;   // X Set 0
    QLineEdit* Edit143 = nullptr;      // X position
    QPushButton* Button75 = nullptr;   // Z ◀
    QPushButton* Button76 = nullptr;   // Z ▶
    QPushButton* Button77 = nullptr;   // Z Set 0
    QLineEdit* Edit144 = nullptr;      // Z position
    // End-of-travel lamps of the three axes, beside each group's Set 0 (CCW left, CW right).
    StageLamp* imgCCW2DY = nullptr;
    StageLamp* imgCW2DY = nullptr;
    StageLamp* imgCCW2DX = nullptr;
    StageLamp* imgCW2DX = nullptr;
    StageLamp* imgCCW2DZ = nullptr;
    StageLamp* imgCW2DZ = nullptr;
    QPushButton* Button63 = nullptr;   // GOTO (0,0,0)
    QPushButton* Button64 = nullptr;   // GOTO (0,0)
    QPushButton* Button68 = nullptr;   // Stop Motor

    // Scan panel.
    QFrame* Panel5 = nullptr;
    QPushButton* Button65 = nullptr;   // Start SCAN
    QPushButton* Button66 = nullptr;   // Stop SCAN
    QPushButton* ButtonRecoverScan = nullptr;   // unfinished scans: recover from the journal
    RecoverJournalDlg* RecoverDlg = nullptr;    // made on first use
    QLabel* LBstepX = nullptr;
    QLabel* LBstepY = nullptr;
    QLabel* LBstepZ = nullptr;
    QLineEdit* Edit149 = nullptr;      // pixels waiting in the queue
    QLineEdit* Edit147 = nullptr;      // pixels of the line so far
    QLabel* LabelRcnt = nullptr;
    QLabel* LabelYcnt = nullptr;
    QLabel* RedErrorComment = nullptr;
    QLineEdit* ErrView = nullptr;
    QLineEdit* Edit132 = nullptr;      // X start, end, step
    QLineEdit* Edit133 = nullptr;
    QLineEdit* Edit134 = nullptr;
    QLineEdit* Edit129 = nullptr;      // Y start, end, step
    QLineEdit* Edit130 = nullptr;
    QLineEdit* Edit131 = nullptr;
    QLineEdit* Edit136 = nullptr;      // Z start, end, step, count
    QLineEdit* Edit137 = nullptr;
    QLineEdit* Edit139 = nullptr;
    QLineEdit* Edit140 = nullptr;
    QLineEdit* Edit141 = nullptr;      // map file name
    // Progress of the whole scan, its elapsed time and the time left, and how it ended.
    QProgressBar* ScanProgressBar = nullptr;
    QLabel* LabelElapsed = nullptr;
    QLabel* LabelLeft = nullptr;
    QLabel* LabelScanEnd = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildViewControls();
    void buildMotorColumn();
    void buildPanel5();
    void placeControls();
    void connectButtons();
    // Copies what the sequencer shows into the scan panel, only the parts that changed.
    void showScanDisplay();

    QWidget* contrastStrip_ = nullptr;   // the two contrast track bars
    struct ContrastRow {
        QLabel* caption = nullptr;
        QSlider* bar = nullptr;
        QLabel* scale = nullptr;
        QLineEdit* box = nullptr;
    };
    ContrastRow contrastRows_[2];        // "Ｚ軸 Top" (TrackBar2), "Ｚ軸 Bottom" (TrackBar1)
    void placeContrastBars(const QRect& legend);
    QWidget* motorColumn_ = nullptr;     // motor groups, between the legend and the map
    QWidget* viewButtons_ = nullptr;     // the eight view buttons: beside the map or in the column
    void placeViewButtons(bool beside, const QRect& besideRect);
    std::unique_ptr<MapView> view_;

    StageControl stage_;
    ScanSequencer seq_;
    StagePositionBox positions_[3];   // X Edit143, Y Edit142, Z Edit144

    // What the scan panel shows now, to touch only the controls whose value changed.
    struct Shown {
        bool any = false;
        uint32_t serial = 0;
        char stepX[32] = "0/ 0";
        char stepY[32] = "0/ 0";
        char stepZ[32] = "0/ 0";
        char errView[48] = "";
        int32_t queueCount = 0;
        QueueColour queueColour = QueueColour::White;
        int32_t queueAhead = 0;
        int32_t red = 0;
        int32_t yellow = 0;
        char progress[48] = "";
        char elapsed[16] = "";
        char left[16] = "";
        ScanEnd end = ScanEnd::None;
    } shown_;
};

}  // namespace qor
