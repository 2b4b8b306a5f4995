#pragma once
// MCA page: spectrum view, MCA control, AUTO COLLECT settings, ROI group, analysis buttons,
// spectrum copy and arithmetic.

#include "app/Page.h"
#include "app/PaintBox.h"
#include "app/RadioGroup.h"
#include "instrument/McaControl.h"
#include "spectrum/SpectrumPlot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <memory>

namespace qor {

class McaPage : public Page {
    Q_OBJECT
public:
    McaPage(PageContext ctx, QWidget* parent);
    ~McaPage() override;

    // Sizes the spectrum area (PaintBox1 and its back buffer SPCImage); the drawing extents
    // follow (PlotWidth = width - 1, PlotHeight = height - 1). Panel2 goes to the right of the
    // area, Panel3 below it.
    void setSpectrumArea(QSize size);
    void DrawSpectrum();
    void ShowCurrentRoi();
    // Energy of channel x of slot s by the slot's calibration.
    double ChannelToEnergy(int s, double x);
    // The view selector on "WORK" (a file was read into it); selecting from code runs nothing.
    void showWorkSlot();
    // The two comment lines of the spectrum file last read, shown over the top of the plot
    // (between the scale and the live time) until the next read.
    void showReadComments(const QString& comment1, const QString& comment2);

    // The element scan's progress in one line for the readout under the preset box (empty: none).
    void showElementScanProgress(const QString& line);
    // Keys of the plot (cursor, zoom, START/STOP) and of the page (START/STOP); true when taken.
    bool PaintBox1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool pageKeyDown(int key, Qt::KeyboardModifiers modifiers);

    void startupStep(int step) override;
    // The acquisition tick on this page: read the viewed MCA's spectrum and state, colour the
    // preset box, redraw.
    void tickDuty() override;

    // Fixed panel extents (the window's layout rule takes them into account).
    static constexpr int kPanel2Width = 250;
    static constexpr int kPanel3Height = 150;

    // Handlers: MCA control.
    void CheckBox13Click();
    void CheckBox14Click();
    void ComboBox1Change();
    void ComboBox3Change();
    void Edit14Change();
    void Button5Click();
    void Button4Click();
    void Button3Click();
    // AUTO COLLECT settings.
    void CheckBox23Click();
    void CheckBox24Click();
    void CheckBox27Click();
    void CheckBox28Click();
    void CheckBox49Click();
    void Edit21Change();
    void Edit22Change();
    // Spectrum control.
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton12Click();
    void SpeedButton13Click();
    void SpeedButton25Click();
    void SpeedButton31Click();
    void SpeedButton43Click();
    void SpeedButton44Click();
    void SpeedButton45Click();
    void RadioGroup1Click();
    void PaintBox1MouseDown(int x, int y);
    void SButton10Click();
    // ROI group.
    void Edit17Change();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button15Click();
    void SpeedButton39Click();
    void SpeedButton40Click();
    void SpeedButton41Click();
    void SpeedButton42Click();
    // Spectrum move and arithmetic.
    void Button14Click();
    void computeClick();
    // Analysis commands of the group "定性処理" (analysis/McaAnalysis.cpp).
    void SpeedButton26Click();   // automatic peak search
    void SpeedButton27Click();   // nearest peak to ROI
    void SpeedButton29Click();   // FWHM of the peak near the cursor
    void SpeedButton28Click();   // smoothing into WORK
    void SpeedButton10Click();   // recall the calibration ROIs
    void SpeedButton14Click();   // store the calibration ROIs
    void SpeedButton8Click();    // energy calibration
    void SpeedButton9Click();    // analysis parameters
    void UndoAutoRoiClick();     // the ROI table before the last "自" (also Ctrl+Z)

    // Spectrum area.
    PaintBox* PaintBox1 = nullptr;
    QImage SPCImage;   // hidden back buffer, same size as PaintBox1
    QLabel* FileComment1 = nullptr;   // comments of the file last read, over the plot
    QLabel* FileComment2 = nullptr;

    // Right panel.
    QFrame* Panel2 = nullptr;
    QGroupBox* GroupBoxMca = nullptr;   // "接続MCA"
    QCheckBox* CheckBox13 = nullptr;
    QCheckBox* CheckBox14 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QLabel* PresetSeconds = nullptr;   // the preset in seconds, or the preset in force
    QPushButton* Button5 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button3 = nullptr;

    QGroupBox* GroupBoxAuto = nullptr;  // "AUTO COLLECT"
    QLineEdit* Edit15 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QLineEdit* Edit22 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QCheckBox* CheckBox23 = nullptr;
    QCheckBox* CheckBox24 = nullptr;
    QCheckBox* CheckBox27 = nullptr;
    QCheckBox* CheckBox28 = nullptr;
    QCheckBox* CheckBox49 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button13 = nullptr;

    QGroupBox* GroupBoxSpectrum = nullptr;  // "Spectrum control"
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    QToolButton* SpeedButton13 = nullptr;
    QToolButton* SpeedButton25 = nullptr;
    QToolButton* SpeedButton31 = nullptr;
    QToolButton* SpeedButton43 = nullptr;
    QToolButton* SpeedButton44 = nullptr;
    QToolButton* SpeedButton45 = nullptr;

    RadioGroup* RadioGroup1 = nullptr;  // "View": MCA1, MCA2, WORK
    QPushButton* SButton10 = nullptr;   // sound switch

    // Bottom panel.
    QFrame* Panel3 = nullptr;
    QGroupBox* GroupBoxRoi = nullptr;   // "ROI"
    QLineEdit* Edit17 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QLineEdit* Edit19 = nullptr;
    QLineEdit* Edit25 = nullptr;
    QToolButton* SpeedButton39 = nullptr;
    QToolButton* SpeedButton40 = nullptr;
    QToolButton* SpeedButton41 = nullptr;
    QToolButton* SpeedButton42 = nullptr;
    QLineEdit* Edit23 = nullptr;
    QLineEdit* Edit24 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button15 = nullptr;
    QPushButton* Button12 = nullptr;

    QGroupBox* GroupBoxAnalysis = nullptr;  // "定性処理"
    QToolButton* SpeedButton26 = nullptr;
    QToolButton* SpeedButton27 = nullptr;
    QToolButton* SpeedButton29 = nullptr;
    QToolButton* SpeedButton28 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* SpeedButton14 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* UndoAutoRoi = nullptr;   // enabled while a table replaced by "自" is kept

    QGroupBox* GroupBoxMove = nullptr;  // " スペクトル移動 、スペクトル間演算"
    QComboBox* CbBOXsorce = nullptr;
    QComboBox* CbBOXdist = nullptr;
    QPushButton* Button14 = nullptr;
    QComboBox* CBanser = nullptr;
    QComboBox* CB1 = nullptr;
    QComboBox* CBop = nullptr;
    QComboBox* CB2 = nullptr;
    QPushButton* compute = nullptr;

private:
    McaSelection selection() const;
    void buildPanel2();
    void buildPanel3();
    void connectHandlers();
    void connectAnalysisHandlers();
    int viewSlot();           // ViewSlot held inside the three slots
    int32_t viewChannels();   // SlotViewChannels of the viewed slot
    int currentRoi();         // current ROI of the viewed slot, as a table index
    void setTextIfChanged(QLineEdit* edit, const char* text);
    void showZeroRoiValues();
    void syncSoundSwitch();
    void fillPresetFromCurrentSlot();
    void placeReadComments();
    void showPresetReadout();

    std::unique_ptr<GlyphAtlas> glyphs_;
    std::unique_ptr<SpectrumPlot> plot_;
    bool mca1Measuring_ = false;     // from the last status read of MCA1
    QByteArray sweepProgress_;       // UTF-8, for the preset readout
    char shownPreset_[64] = "";
};

}  // namespace qor
