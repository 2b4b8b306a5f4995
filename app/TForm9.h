#pragma once
// The main window: tool bar, menus, status bar, the eight tab pages and the two timers. It owns
// all program state for the whole run and hands each page a reference to it.

#include "app/AppState.h"
#include "app/DialogSet.h"
#include "app/Page.h"
#include "analysis/LineTable.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>

namespace qor {

class SetupPage;
class McaPage;
class SetupScanPage;
class Scan2DPage;
class DebugPage;
class ElementScanPage;
class SpectrumFileCommands;
class LineTablePage;

extern const char* const kMainCaption;

class TForm9 : public QMainWindow, public MainOps {
    Q_OBJECT
public:
    // Builds the window and runs the start-up sequence (FormCreate). `startDir` is the current
    // directory at start: the information file and the wave files live there.
    TForm9(Services& svc, Kx10& kx, const QString& startDir, QWidget* parent = nullptr);
    ~TForm9() override;

    AppState& state() { return *st_; }

    // Creates the eight dialogs in their fixed order (called once, right after construction).
    void createDialogs();
    DialogSet dialogs;

    // Page indexes of PageMaster.
    enum PageIndex { kSetup = 0, kMca = 1, kSetupScan = 2, kScan2D = 3, kDebug = 4, kGamma = 5,
                     kXray = 6, kElementScan = 7 };

    // Handlers.
    void FormCreate();
    void FormResize();
    bool FormCloseQuery();
    void Timer1Timer();
    void Timer2Timer();
    // The instrument was lost (the driver host ended, hung or broke the protocol): offline at
    // once, the lamp off, the next connect opens the interface again; the next Timer1 tick
    // aborts a running scan through its abort path and shows `what`.
    void instrumentLost(const QString& what);
    void N1Click();
    void N10247681Click();
    void Xray1Click();
    void ray1Click();
    void Edit1Change();
    void Edit27Change();
    void SpeedButton20Click();
    void SpeedButton34Click();
    // The Esc key: every enabled motor halted at once, and a running mapping or element scan
    // stopped through its own Stop.
    void emergencyStop();
    // Spectrum and ROI files, screen print (spectrum/SpectrumFileHandlers.cpp).
    void Button16Click();
    void SpeedButton16Click();
    void SpeedButton17Click();
    void SpeedButton18Click();
    void SpeedButton19Click();
    void SaveROItoFile1Click();
    void LoadROIfromFile1Click();
    void SaveSingleROItoFile1Click();
    void LoadSingleROIfromFile1Click();
    void SpeedButton15Click();
    // The picture of the window's client area (below the menu bar, status bar included).
    QImage clientPicture();

    // MainOps.
    void showOnlineLamp(bool online) override;
    int currentPageIndex() const override;
    void DrawSpectrum() override;
    void ShowCurrentRoi() override;
    void DrawMap() override;
    void setTimer2Interval(int ms) override;
    void showRunNames(bool shown) override;

    // The outer window size (frame included) and its setter.
    QSize outerSize() const;
    void setOuterSize(int w, int h);

    // Tool bar Panel1.
    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton16 = nullptr;
    QToolButton* SpeedButton17 = nullptr;
    QToolButton* SpeedButton19 = nullptr;
    QToolButton* SpeedButton18 = nullptr;
    QToolButton* SpeedButton15 = nullptr;
    QToolButton* SpeedButton20 = nullptr;
    QToolButton* SpeedButton34 = nullptr;
    QLabel* qorON = nullptr;
    QLabel* qorOFF = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit27 = nullptr;
    QPushButton* Button16 = nullptr;
    QLabel* RunName1 = nullptr;
    QLabel* RunName2 = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    QTabWidget* PageMaster = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    // Menu items.
    QAction* N1 = nullptr;
    QAction* Xray1 = nullptr;
    QAction* ray1 = nullptr;
    QAction* Nouse1 = nullptr;
    QAction* ViewCursorTable1 = nullptr;
    QAction* SaveROItoFile1 = nullptr;
    QAction* LoadROIfromFile1 = nullptr;
    QAction* SaveSingleROItoFile1 = nullptr;
    QAction* LoadSingleROIfromFile1 = nullptr;
    QAction* N10247681 = nullptr;

    // Pages.
    SetupPage* SETUP = nullptr;
    McaPage* MCAcollect = nullptr;
    SetupScanPage* Setup2DSCAN = nullptr;
    Scan2DPage* NonStop2Dcollect = nullptr;
    DebugPage* TabSheet4 = nullptr;
    LineTablePage* TabGtable = nullptr;
    LineTablePage* TabXray = nullptr;
    ElementScanPage* TabSheet1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolBar(QWidget* central);
    void buildMenus();
    void buildPages(QWidget* central);
    Page* page(int index) const;
    void resetSpectrumView();
    // A settings save that failed: status bar, beep and a modal box, all naming the file.
    void reportSaveFailure(const QString& text);
    void connectFileCommands();
    // The table that markers and identification use (Table menu); the other table's markers go.
    void chooseLineTable(TableKind kind);
    // The Setup SCAN page's map slots shown from the record (after maps were set up).
    void showMapSlots();
    bool confirmClose();
    void writeInformation();

    std::unique_ptr<AppState> st_;
    Services& svc_;
    Kx10& kx_;
    QString startDir_;
    std::unique_ptr<SpectrumFileCommands> files_;
    bool inResize_ = false;
    bool infoFileProtected_ = false;   // the information file exists but could not be read
    // A tick that shows a modal message box lets the timers fire inside it; a timer's own tick
    // never runs again inside itself.
    bool inTimer1_ = false;
    bool inTimer2_ = false;
    bool closed_ = false;
    int32_t recordedScanMode_ = 0;   // the scan mode when the record was last written
    QString lostInstrument_;   // what ended the instrument, until Timer1 has shown it
    void settleLostInstrument();
};

}  // namespace qor
