#include "app/TForm9.h"

#include "app/CloseQuestion.h"
#include "app/DefaultSaveFolder.h"
#include "app/EscapeKey.h"
#include "app/FieldText.h"
#include "app/InfoFile.h"
#include "analysis/TOKRightDlg.h"
#include "analysis/TSmoothDlg.h"
#include "analysis/TTeiseiDlg.h"
#include "analysis/TecalDlg.h"
#include "app/LineTablePage.h"
#include "app/PageScroll.h"
#include "app/TOKBottomDlg.h"
#include "scan/TOKRightDlg1.h"
#include "spectrum/TDlgSameF.h"
#include "spectrum/TOKRightDlg2.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "app/WindowLayout.h"
#include "instrument/Connection.h"
#include "instrument/DebugPage.h"
#include "instrument/MotorInit.h"
#include "instrument/MotorReadBack.h"
#include "instrument/SetupPage.h"
#include "scan/ElementScanPage.h"
#include "scan/EmergencyStop.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "spectrum/McaPage.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumFileCommands.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QStyle>

namespace qor {

const char* const kMainCaption =
    "QOR-10 / KX-10   総合プログラム (一次元scan / 2D scan)  V0.10  07-AUG-2019  "
    "X軸ステージ往復スキャン機能の追加　(株)ＱＯＲルマ　";

namespace {

constexpr int kPanel1Height = 40;

// The online / offline lamps of the tool bar: a round lamp, lit green or red.
QPixmap lampPixmap(QColor colour) {
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(colour);
    p.drawEllipse(2, 2, 18, 18);
    p.setBrush(QColor(255, 255, 255, 110));
    p.setPen(Qt::NoPen);
    p.drawEllipse(6, 5, 7, 5);
    return pm;
}

}  // namespace

TForm9::TForm9(Services& svc, Kx10& kx, const QString& startDir, QWidget* parent)
    : QMainWindow(parent), st_(std::make_unique<AppState>()), svc_(svc), kx_(kx),
      startDir_(startDir) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QString::fromUtf8(kMainCaption));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form9Client"));
    setCentralWidget(central);
    buildToolBar(central);
    buildMenus();
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    buildPages(central);
    connectFileCommands();
    new EscapeKey(*this, [this] { emergencyStop(); });

    Timer1 = named(new QTimer(this), "Timer1");
    Timer2 = named(new QTimer(this), "Timer2");
    connect(Timer1, &QTimer::timeout, this, &TForm9::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm9::Timer2Timer);
    Timer2->setInterval(250);

    // The design client size; the start-up sequence and the layout rules take it from here.
    resize(1006, 702);
    FormCreate();
}

TForm9::~TForm9() = default;

void TForm9::buildToolBar(QWidget* central) {
    Panel1 = named(new QFrame(central), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedHeight(kPanel1Height);
    auto* row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(2);
    // File buttons: the open / save pictures of the desktop style with the file kind beside.
    QStyle* style = Panel1->style();
    auto fileButton = [this, style](const char* name, QStyle::StandardPixmap icon,
                                    const QString& kind, const QString& hint) {
        QToolButton* b = makeSpeedButton(Panel1, name, kind, hint);
        b->setIcon(style->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return b;
    };
    SpeedButton16 = fileButton("SpeedButton16", QStyle::SP_DialogOpenButton, QStringLiteral("DAT"),
                               QStringLiteral("バイナリ形式ファイルを読込む"));
    SpeedButton17 = fileButton("SpeedButton17", QStyle::SP_DialogSaveButton, QStringLiteral("DAT"),
                               QStringLiteral("表示されたスペクトルをバイナリ形式で保存"));
    SpeedButton19 = fileButton("SpeedButton19", QStyle::SP_DialogOpenButton, QStringLiteral("CSV"),
                               QStringLiteral("文字ファイル形式データを読み込む"));
    SpeedButton18 = fileButton("SpeedButton18", QStyle::SP_DialogSaveButton, QStringLiteral("CSV"),
                               QStringLiteral("文字形式で保存する"));
    SpeedButton15 = makeSpeedButton(Panel1, "SpeedButton15", QStringLiteral("印刷"),
                                    QStringLiteral("画面を印刷する"));
    for (auto* b : {SpeedButton16, SpeedButton17, SpeedButton19, SpeedButton18, SpeedButton15})
        row->addWidget(b);
    row->addSpacing(8);
    SpeedButton20 = makeSpeedButton(Panel1, "SpeedButton20", QStringLiteral("接続"),
                                    QStringLiteral("MCA-Novaへ接続する"));
    SpeedButton34 = makeSpeedButton(Panel1, "SpeedButton34", QStringLiteral("切断"),
                                    QStringLiteral("MCA-Novaとの接続を切る"));
    row->addWidget(SpeedButton20);
    row->addWidget(SpeedButton34);
    qorON = makeLabel(Panel1, QString(), "qorON");
    qorON->setPixmap(lampPixmap(QColor(40, 220, 60)));
    qorON->setToolTip(QStringLiteral("ONLINE"));
    qorOFF = makeLabel(Panel1, QString(), "qorOFF");
    qorOFF->setPixmap(lampPixmap(QColor(220, 40, 40)));
    qorOFF->setToolTip(QStringLiteral("OFFLINE"));
    row->addWidget(qorON);
    row->addWidget(qorOFF);
    row->addSpacing(4);
    row->addWidget(makeLabel(Panel1, QStringLiteral("USB S/N")));
    Edit1 = makeEdit(Panel1, "Edit1", 96);
    row->addWidget(Edit1);
    row->addSpacing(4);
    auto* saveLabel = new QLabel(QStringLiteral("保存\nフォルダ"), Panel1);
    saveLabel->setAlignment(Qt::AlignCenter);
    row->addWidget(saveLabel);
    Edit27 = makeEdit(Panel1, "Edit27");
    Edit27->setMinimumWidth(40);
    row->addWidget(Edit27, 1);
    Button16 = makeButton(Panel1, "Button16", QStringLiteral("指定"));
    // As wide as its caption needs, so that an 800 pixel window keeps every tool-bar caption.
    Button16->setFixedWidth(Button16->fontMetrics().horizontalAdvance(Button16->text()) + 24);
    row->addWidget(Button16);
    // The two take turns while a scan runs, in one place: red text, then white on red, so the
    // label blinks. Their place is kept while they are hidden, so nothing moves when they show.
    auto* runNames = new QWidget(Panel1);
    runNames->setObjectName(QStringLiteral("RunNames"));
    auto* stack = new QGridLayout(runNames);
    stack->setContentsMargins(0, 0, 0, 0);
    RunName1 = makeLabel(runNames, QStringLiteral("RUN"), "RunName1");
    RunName2 = makeLabel(runNames, QStringLiteral("RUN"), "RunName2");
    RunName1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    RunName2->setStyleSheet(
        QStringLiteral("color: white; background: red; font-weight: bold;"));
    QFont bold = RunName1->font();
    bold.setBold(true);
    runNames->setFixedWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("元素Scan中")) + 8);
    for (auto* l : {RunName1, RunName2}) {
        l->setAlignment(Qt::AlignCenter);
        stack->addWidget(l, 0, 0);
    }
    row->addWidget(runNames);
    row->addStretch(0);

    connect(SpeedButton20, &QToolButton::clicked, this, &TForm9::SpeedButton20Click);
    connect(SpeedButton34, &QToolButton::clicked, this, &TForm9::SpeedButton34Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TForm9::Edit1Change);
    connect(Edit27, &QLineEdit::textChanged, this, &TForm9::Edit27Change);
}

void TForm9::buildMenus() {
    QMenuBar* bar = menuBar();
    auto add = [](QMenu* m, const char* name, const QString& text) {
        QAction* a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    N1 = add(file, "N1", QStringLiteral("終了"));
    QMenu* table = bar->addMenu(QStringLiteral("Table"));
    Xray1 = add(table, "Xray1", QStringLiteral("X-ray table"));
    ray1 = add(table, "ray1", QStringLiteral("γ-ray table"));
    table->addSeparator();
    Nouse1 = add(table, "Nouse1", QStringLiteral("OFF"));
    table->addSeparator();
    ViewCursorTable1 = add(table, "ViewCursorTable1", QStringLiteral("View Cursor Table"));
    Xray1->setCheckable(true);
    ray1->setCheckable(true);
    connect(Xray1, &QAction::triggered, this, &TForm9::Xray1Click);
    connect(ray1, &QAction::triggered, this, &TForm9::ray1Click);
    QMenu* roi = bar->addMenu(QStringLiteral("ROI"));
    SaveROItoFile1 = add(roi, "SaveROItoFile1", QStringLiteral("Save All ROI to File"));
    LoadROIfromFile1 = add(roi, "LoadROIfromFile1", QStringLiteral("Load All ROI from File"));
    roi->addSeparator();
    SaveSingleROItoFile1 =
        add(roi, "SaveSingleROItoFile1", QStringLiteral("Save current ROI#  to File"));
    LoadSingleROIfromFile1 =
        add(roi, "LoadSingleROIfromFile1", QStringLiteral("Load current ROI# from File"));
    QMenu* misc = bar->addMenu(QStringLiteral("MISC"));
    N10247681 = add(misc, "N10247681", QStringLiteral("1024×768画面サイズ"));

    connect(N1, &QAction::triggered, this, &TForm9::N1Click);
    connect(N10247681, &QAction::triggered, this, &TForm9::N10247681Click);
}

void TForm9::buildPages(QWidget* central) {
    PageMaster = named(new QTabWidget(central), "PageMaster");
    PageContext ctx{*st_, svc_, kx_, *this, dialogs};
    SETUP = new SetupPage(ctx, PageMaster);
    SETUP->setObjectName(QStringLiteral("SETUP"));
    MCAcollect = new McaPage(ctx, PageMaster);
    MCAcollect->setObjectName(QStringLiteral("MCAcollect"));
    Setup2DSCAN = new SetupScanPage(ctx, PageMaster);
    Setup2DSCAN->setObjectName(QStringLiteral("Setup2DSCAN"));
    NonStop2Dcollect = new Scan2DPage(ctx, PageMaster);
    NonStop2Dcollect->setObjectName(QStringLiteral("NonStop2Dcollect"));
    TabSheet4 = new DebugPage(ctx, PageMaster);
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    TabGtable = new LineTablePage(ctx, PageMaster, TableKind::Gamma);
    TabGtable->setObjectName(QStringLiteral("TabGtable"));
    TabXray = new LineTablePage(ctx, PageMaster, TableKind::Xray);
    TabXray->setObjectName(QStringLiteral("TabXray"));
    for (LineTablePage* p : {TabGtable, TabXray}) p->mapSlotsChanged = [this] { showMapSlots(); };
    TabSheet1 = new ElementScanPage(ctx, PageMaster);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    // Each page scrolls where the window is smaller than the design size.
    auto addPage = [this](QWidget* p, const QString& title) {
        PageMaster->addTab(new PageScroll(p), title);
    };
    addPage(SETUP, QStringLiteral("SETUP"));
    addPage(MCAcollect, QStringLiteral("MCA"));
    addPage(Setup2DSCAN, QStringLiteral("Setup SCAN"));
    addPage(NonStop2Dcollect, QStringLiteral("2D SCAN"));
    addPage(TabSheet4, QStringLiteral("Debug"));
    addPage(TabGtable, QStringLiteral("γ table"));
    addPage(TabXray, QStringLiteral("X table"));
    addPage(TabSheet1, QStringLiteral("元素SCAN"));
    ElementScanLinks links;
    links.mcaSelection = [this] {
        return McaSelection{MCAcollect->CheckBox13->isChecked(), MCAcollect->CheckBox14->isChecked()};
    };
    links.showMcaPage = [this] { PageMaster->setCurrentIndex(kMca); };
    links.setRunNameTexts = [this](const QString& text) {
        RunName1->setText(text);
        RunName2->setText(text);
    };
    links.showRunNames = [this](bool first, bool second) {
        RunName1->setVisible(first);
        RunName2->setVisible(second);
    };
    links.showErrView = [this](const QString& text) { NonStop2Dcollect->ErrView->setText(text); };
    links.showMcaProgress = [this](const QString& line) { MCAcollect->showElementScanProgress(line); };
    TabSheet1->link(std::move(links));
    connect(PageMaster, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == kMca) DrawSpectrum();
        if (index == kScan2D) DrawMap();
    });
}

Page* TForm9::page(int index) const {
    switch (index) {
        case kSetup: return SETUP;
        case kMca: return MCAcollect;
        case kSetupScan: return Setup2DSCAN;
        case kScan2D: return NonStop2Dcollect;
        case kDebug: return TabSheet4;
        case kGamma: return TabGtable;
        case kXray: return TabXray;
        case kElementScan: return TabSheet1;
        default: return nullptr;
    }
}

void TForm9::resetSpectrumView() { resetView(st_->spectrum, st_->rec.SlotViewChannels[0]); }

void TForm9::FormCreate() {
    AppState& st = *st_;
    InfoRecord& r = st.rec;
    Page* const pages[] = {SETUP, MCAcollect, Setup2DSCAN, NonStop2Dcollect, TabSheet4,
                           TabGtable, TabXray, TabSheet1};
    // Each step runs the main window's own part, then every page's share in tab order. Within a
    // step no page's change handler reads a field another page's control writes, so the order
    // across pages inside a step does not change the outcome.
    auto pagesStep = [&pages](int step) {
        for (Page* p : pages) p->startupStep(step);
    };

    // 1-3: the information file, loaded or created with the creation defaults.
    st.infoFilePath = buildInfoFilePath(startDir_);
    const InfoLoad load = loadInfoFile(st.infoFilePath, r);
    if (load == InfoLoad::Unreadable) {
        // The run goes on with a zero record; the file is kept as it is (see FormCloseQuery).
        infoFileProtected_ = true;
        svc_.alerts.status(QStringLiteral("情報ファイルを読み込めません: ") + st.infoFilePath);
    }
    if (load == InfoLoad::Missing) {
        svc_.sounds.play(QStringLiteral("INIfileGen.WAV"));
        r = InfoRecord{};
        setCreationDefaults(r, "");
        // Only a folder the record holds exactly and that exists becomes the save folder.
        const SaveFolderChoice folder = chooseDefaultSaveFolder(startDir_, QDir::homePath());
        storeSjis(r.SaveFolder, folder.folder);
        if (!folder.status.isEmpty()) svc_.alerts.status(folder.status);
        // The run goes on without the file when it cannot be created; the close tries again.
        const WriteOutcome saved = saveInfoFile(st.infoFilePath, r);
        if (saved) {
            svc_.alerts.message(QStringLiteral("情報ファイルを生成しました"));
        } else {
            reportSaveFailure(infoSaveFailureText(saved));
        }
    }
    // The program's own settings, beside the information file.
    st.settingsFilePath = ProgramSettings::pathBeside(st.infoFilePath);
    if (QString why; !st.settings.load(st.settingsFilePath, &why)) {
        st.settingsProtected = true;
        svc_.alerts.status(QStringLiteral("設定ファイルを読み込めません: ") + why);
    }
    // 4
    Edit1->setText(fromSjis(r.UsbSerial));
    // 5
    resetSpectrumView();
    pagesStep(5);
    // 6
    fillRoiColours(st.spectrum);
    pagesStep(6);
    // 7-10: module table, Debug page, motor parameters, Setup SCAN page.
    for (int step = 7; step <= 10; ++step) pagesStep(step);
    // 11
    resetSpectrumView();
    pagesStep(11);
    // 12: test patterns and map colour tables.
    fillSlotTestPatterns(st.spectrum);
    st.maps.fillTestPattern();
    fillMapScales(st.mapView);
    pagesStep(12);
    // 13
    pagesStep(13);
    // 14
    pagesStep(14);
    Edit27->setText(fromSjis(r.SaveFolder));
    // 15
    st.Online = 0;
    showOnlineLamp(false);
    st.spectrum.ViewSlot = 0;
    r.CurrentSlot = 0;
    for (int s = 0; s < 5; ++s) st.spectrum.CurrentRoi[s] = 1;
    pagesStep(15);
    // 16
    pagesStep(16);
    // 17: map display state and contrast.
    st.mapView.MapZMax = 1000;
    st.mapView.MapLowPct = 0;
    st.mapView.MapHighPct = 100;
    r.MapZoom = 1;
    st.mapView.ViewExtentX = r.MapPixelsX;
    st.mapView.ViewExtentY = r.MapPixelsY;
    st.mapView.ViewCentreX = r.MapPixelsX / 2;
    st.mapView.ViewCentreY = r.MapPixelsY / 2;
    pagesStep(17);
    // 18
    RunName1->hide();
    RunName2->hide();
    pagesStep(18);
    // 19
    PageMaster->setCurrentIndex(kMca);
    pagesStep(19);
    // 20
    svc_.sounds.play(QStringLiteral("start.wav"));
    st.ScanMode = 0;
    Timer1->setInterval(800);
    Timer1->start();
    Timer2->start();
    pagesStep(20);
    // 21: ROI values and the map.
    pagesStep(21);
}

void TForm9::createDialogs() {
    if (dialogs.OKRightDlg2) return;
    AppState& st = *st_;
    dialogs.OKRightDlg2 = new TOKRightDlg2(st, svc_, this);
    dialogs.DlgSameF = new TDlgSameF(st, svc_, this);
    dialogs.TeiseiDlg = new TTeiseiDlg(st, svc_, this);
    dialogs.SmoothDlg = new TSmoothDlg(st, svc_, this);
    dialogs.ecalDlg = new TecalDlg(st, svc_, this);
    dialogs.OKRightDlg = new TOKRightDlg(st, svc_, this);
    dialogs.OKBottomDlg = new TOKBottomDlg(st, svc_, this);
    dialogs.OKRightDlg1 = new TOKRightDlg1(st, svc_, this);
    // Once the window runs: scans that a crash, a kill or a power cut left unfinished are offered
    // for recovery from their journals.
    QTimer::singleShot(0, this, [this] { NonStop2Dcollect->offerRecovery(true); });
}

void TForm9::SpeedButton20Click() {
    ConnectHooks hooks;
    hooks.showLamp = [this](bool on) { showOnlineLamp(on); };
    hooks.initialiseMotors = [this] { initialiseMotors(st_->rec, kx_, svc_.alerts); };
    runConnectSequence(*st_, kx_, svc_.alerts, svc_.clock, hooks);
}

void TForm9::SpeedButton34Click() {
    ConnectHooks hooks;
    hooks.showLamp = [this](bool on) { showOnlineLamp(on); };
    runDisconnect(*st_, kx_, svc_.alerts, hooks);
}

void TForm9::emergencyStop() {
    // The motors first: nothing below may hold them up.
    const HaltOutcome halted = haltEveryMotor(*st_, kx_, svc_.alerts);
    if (halted.sent > 0 && halted.failed == 0)
        svc_.alerts.status(QStringLiteral("Esc: 全モータ停止"));
    if (st_->ScanMode == 2) NonStop2Dcollect->Button66Click();
    if (st_->ScanMode == 3 || TabSheet1->elementScanArmed()) TabSheet1->Button87Click();
}

void TForm9::Edit1Change() { storeSjis(st_->rec.UsbSerial, Edit1->text()); }

void TForm9::Edit27Change() { storeSjis(st_->rec.SaveFolder, Edit27->text()); }

QSize TForm9::outerSize() const { return frameGeometry().size(); }

void TForm9::setOuterSize(int w, int h) {
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(w - frame.width(), h - frame.height());
}

void TForm9::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FormResize();
}

void TForm9::FormResize() {
    if (inResize_ || !PageMaster || !MCAcollect) return;
    inResize_ = true;
    QSize outer = outerSize();
    if (windowTooSmall(outer.width(), outer.height())) {
        svc_.alerts.beep();
        svc_.alerts.message(QStringLiteral("フォームサイズが小さいです"));
        setOuterSize(kResetWidth, kResetHeight);
        move(10, 10);
        outer = outerSize();
    }
    PanelSizes ps;
    ps.panel1Height = Panel1->height();
    ps.panel2Width = MCAcollect->Panel2 ? MCAcollect->Panel2->width() : 0;
    ps.panel3Height = MCAcollect->Panel3 ? MCAcollect->Panel3->height() : 0;
    ps.panel5Height = NonStop2Dcollect->Panel5 ? NonStop2Dcollect->Panel5->height() : 0;
    // The pages are laid out for at least the design size; a smaller window scrolls them.
    const QSize fit = outer.expandedTo(QSize(kDesignWidth, kDesignHeight));
    const WindowLayout l = computeLayout(fit.width(), fit.height(), ps);
    const WindowLayout tabs = computeLayout(outer.width(), outer.height(), ps);
    for (PageScroll* s : PageMaster->findChildren<PageScroll*>()) s->setShortfall(fit - outer);
    Panel1->setGeometry(0, 0, centralWidget()->width(), kPanel1Height);
    PageMaster->setGeometry(5, kPanel1Height + 2, tabs.pageMaster.width(),
                            tabs.pageMaster.height());
    MCAcollect->setSpectrumArea(l.spectrum);
    NonStop2Dcollect->setMapAreas(l.elementMap, l.map2D);
    if (PageMaster->currentIndex() == kMca) DrawSpectrum();
    if (PageMaster->currentIndex() == kScan2D) DrawMap();
    inResize_ = false;
}

bool TForm9::FormCloseQuery() {
    if (st_->MotorsInitialised == 1) readMotorPositionsBack(st_->rec, kx_, svc_.alerts);
    st_->rec.reserved1908 = 0;
    // A file that could not be read is not overwritten with the zero record the run started
    // from; a save that fails is reported. The close goes on either way.
    if (infoFileProtected_) {
        reportSaveFailure(QStringLiteral("情報ファイルを読み込めなかったため、設定を保存しません: ") +
                          st_->infoFilePath);
    } else if (const WriteOutcome saved = saveInfoFile(st_->infoFilePath, st_->rec); !saved) {
        reportSaveFailure(infoSaveFailureText(saved));
    }
    // Nothing to keep and no file yet: no file is made (a start folder holds only what it needs).
    if (!st_->settingsProtected &&
        (!st_->settings.isEmpty() || QFileInfo::exists(st_->settingsFilePath))) {
        if (const WriteOutcome saved = st_->settings.save(st_->settingsFilePath); !saved)
            reportSaveFailure(QStringLiteral("設定ファイルを保存できません: ") + saved.error);
    }
    return true;
}

void TForm9::reportSaveFailure(const QString& text) {
    svc_.alerts.status(text);
    svc_.alerts.beep();
    svc_.alerts.message(text);
}

// While a scan or an MCA measurement runs, the operator is asked first; a yes stops a scan
// through its own stop (its hardware quieted, its motors halted) before the close goes on.
bool TForm9::confirmClose() {
    const QString what = workUnderWay(*st_, kx_);
    if (what.isEmpty()) return true;
    if (!svc_.dialogs.confirm(closeQuestionCaption(), closeQuestionText(what))) return false;
    if (st_->ScanMode == 2) NonStop2Dcollect->Button66Click();
    if (st_->ScanMode == 3) TabSheet1->Button87Click();
    return true;
}

// The information record written while the program runs (a scan began or ended): the motor
// positions read back first, as at the close, so that a crash later loses less. A failure is
// told in the status bar with a beep; the scan is not held up by a box.
void TForm9::writeInformation() {
    if (infoFileProtected_) return;
    if (st_->Online == 1 && st_->MotorsInitialised == 1)
        readMotorPositionsBack(st_->rec, kx_, svc_.alerts, false);
    st_->rec.reserved1908 = 0;
    if (const WriteOutcome saved = saveInfoFile(st_->infoFilePath, st_->rec); !saved) {
        svc_.alerts.status(infoSaveFailureText(saved));
        svc_.alerts.beep();
    }
}

void TForm9::closeEvent(QCloseEvent* e) {
    if (!closed_) {
        if (!confirmClose()) {
            e->ignore();
            return;
        }
        closed_ = FormCloseQuery();
        Timer1->stop();
        Timer2->stop();
    }
    e->accept();
}

void TForm9::N1Click() { close(); }

void TForm9::N10247681Click() { setOuterSize(1022, 766); }

// The two line-table check marks exclude each other; nothing reads them.
void TForm9::Xray1Click() {
    Xray1->setChecked(true);
    ray1->setChecked(false);
    chooseLineTable(TableKind::Xray);
}

void TForm9::ray1Click() {
    ray1->setChecked(true);
    Xray1->setChecked(false);
    chooseLineTable(TableKind::Gamma);
}

namespace {
// Marks a timer's tick as running for as long as the tick lasts.
class TickGuard {
public:
    explicit TickGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TickGuard() { flag_ = false; }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

private:
    bool& flag_;
};
}  // namespace

void TForm9::Timer1Timer() {
    if (inTimer1_) return;
    TickGuard guard(inTimer1_);
    if (!lostInstrument_.isEmpty()) settleLostInstrument();
    const int index = PageMaster->currentIndex();
    if (Page* p = page(index)) p->tickDuty();
    st_->PreviousTabIndex = index;
}

void TForm9::Timer2Timer() {
    if (inTimer2_) return;
    TickGuard guard(inTimer2_);
    // A running scan waits in its state while the instrument is offline.
    if (st_->Online == 1) {
        if (st_->ScanMode == 2) NonStop2Dcollect->scanTick();
        if (st_->ScanMode == 3 || TabSheet1->elementScanArmed()) TabSheet1->scanTick();
    }
    // A scan that began, ended, was stopped or aborted since the last tick: the record is
    // written.
    if (st_->ScanMode != recordedScanMode_) {
        recordedScanMode_ = st_->ScanMode;
        writeInformation();
    }
}

void TForm9::instrumentLost(const QString& what) {
    st_->Online = 0;
    st_->UsbOpenAllowed = 1;
    showOnlineLamp(false);
    svc_.alerts.status(what);
    lostInstrument_ = what;
}

void TForm9::settleLostInstrument() {
    const QString what = lostInstrument_;
    lostInstrument_.clear();
    svc_.alerts.beep();
    if (st_->ScanMode == 2) {
        NonStop2Dcollect->abortScan(what);
        return;
    }
    if (st_->ScanMode == 3 || TabSheet1->elementScanArmed()) TabSheet1->Button87Click();
    svc_.alerts.message(what);
}

void TForm9::showOnlineLamp(bool online) {
    qorON->setVisible(online);
    qorOFF->setVisible(!online);
}

int TForm9::currentPageIndex() const { return PageMaster->currentIndex(); }

void TForm9::DrawSpectrum() { MCAcollect->DrawSpectrum(); }

void TForm9::ShowCurrentRoi() { MCAcollect->ShowCurrentRoi(); }

void TForm9::DrawMap() { NonStop2Dcollect->DrawMap(); }

void TForm9::setTimer2Interval(int ms) {
    if (Timer2->interval() != ms) Timer2->setInterval(ms);
}

void TForm9::showRunNames(bool shown) {
    RunName1->setVisible(shown);
    RunName2->setVisible(shown);
}

void TForm9::chooseLineTable(TableKind kind) {
    LineState& ls = st_->lines;
    if (ls.table == kind) return;
    // Markers and an identification made against the other table no longer apply.
    clearMarks(ls);
    ls.table = kind;
    ls.slot = -1;
    ls.peaks.clear();
    ls.result = Identification{};
    TabXray->showIdentification();
    TabGtable->showIdentification();
    DrawSpectrum();
}

void TForm9::showMapSlots() {
    const InfoRecord& r = st_->rec;
    for (int i = 0; i < SetupScanPage::kMapRoiSlots; ++i) {
        Setup2DSCAN->mapRoiCheck[i]->setChecked(r.MapRoiEnabled[i] != 0);
        Setup2DSCAN->mapRoiName[i]->setText(fromSjis(r.MapRoiElementName[i]));
    }
}

}  // namespace qor
