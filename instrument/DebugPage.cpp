#include "instrument/DebugPage.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/FieldText.h"
#include "app/Widgets.h"
#include "instrument/Pulses.h"

namespace qor {

namespace {

constexpr char kNonStopAxis = '0';   // the non-stop motor is always the controller's motor 1
constexpr int kRoiCountValues = 32;  // values shown by "データＲＥＡＤ"

int32_t readLe32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

void selectItem(QComboBox* combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

QLineEdit* displayBox(QWidget* parent, const char* name, int width) {
    QLineEdit* e = makeEdit(parent, name, width);
    e->setReadOnly(true);
    return e;
}

QFrame* panel(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

}  // namespace

DebugPage::DebugPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {
    GroupBoxDebug = makeGroup(
        this, "GroupBoxDebug",
        QStringLiteral(
            "　QOR-10 モータノンストップ機能の内部変数のダンプ（ＱＯＲルマの試験用画面　）"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->addWidget(GroupBoxDebug);

    auto* main = new QVBoxLayout(GroupBoxDebug);
    QFrame* stateBox = panel(GroupBoxDebug);
    QFrame* motorBox = panel(GroupBoxDebug);
    QFrame* mcaBox = panel(GroupBoxDebug);
    buildStateBlock(stateBox);
    buildMotorBox(motorBox);
    buildMcaBox(mcaBox);

    // Automatic measurement buttons of the service screen; they have no action.
    auto* autoButtons = new QVBoxLayout;
    Button18 = makeButton(GroupBoxDebug, "Button18", QStringLiteral("自動測定開始"));
    Button19 = makeButton(GroupBoxDebug, "Button19", QStringLiteral("自動測定停止"));
    autoButtons->addWidget(Button18);
    autoButtons->addWidget(Button19);
    autoButtons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(stateBox, 0, Qt::AlignTop);
    top->addWidget(motorBox, 0, Qt::AlignTop);
    top->addStretch(1);
    top->addLayout(autoButtons);
    main->addLayout(top);

    // ROI counts read back, one line of eight values per label.
    auto* counts = panel(GroupBoxDebug);
    auto* countRows = new QVBoxLayout(counts);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const char* names[4] = {"LableD1", "LableD2", "LableD3", "LableD4"};
    for (int i = 0; i < 4; ++i) {
        roiCounts_[i] =
            makeLabel(counts, QStringLiteral("ここに読み込みデータを表示する"), names[i]);
        roiCounts_[i]->setFont(fixed);
        roiCounts_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        countRows->addWidget(roiCounts_[i]);
    }
    countRows->addStretch(1);
    LableD1 = roiCounts_[0];
    LableD2 = roiCounts_[1];
    LableD3 = roiCounts_[2];
    LableD4 = roiCounts_[3];

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mcaBox, 0, Qt::AlignTop);
    bottom->addWidget(counts, 1);
    main->addLayout(bottom);
    main->addStretch(1);
}

void DebugPage::buildStateBlock(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    Edit28 = displayBox(box, "Edit28", 60);
    Edit44 = displayBox(box, "Edit44", 60);
    grid->addWidget(makeLabel(box, QStringLiteral("内部測定点データ数")), 0, 0, 1, 2);
    grid->addWidget(Edit28, 0, 2);
    grid->addWidget(makeLabel(box, QStringLiteral("fullch")), 0, 3, Qt::AlignRight);
    grid->addWidget(Edit44, 0, 4);
    CheckBox17 = makeCheck(box, "CheckBox17", QStringLiteral("autoRunSW"));
    CheckBox18 = makeCheck(box, "CheckBox18", QStringLiteral("interruptSW"));
    CheckBox19 = makeCheck(box, "CheckBox19", QStringLiteral("overflowSW"));
    CheckBox20 = makeCheck(box, "CheckBox20", QStringLiteral("Not assign"));
    switches_[0] = CheckBox17;
    switches_[1] = CheckBox18;
    switches_[2] = CheckBox19;
    switches_[3] = CheckBox20;
    for (QCheckBox* c : switches_) {  // displays of the block's switches: not operable
        c->setAttribute(Qt::WA_TransparentForMouseEvents);
        c->setFocusPolicy(Qt::NoFocus);
    }
    grid->addWidget(CheckBox17, 1, 0, 1, 2);
    grid->addWidget(CheckBox18, 1, 2, 1, 3);
    grid->addWidget(CheckBox19, 2, 0, 1, 2);
    grid->addWidget(CheckBox20, 2, 2, 1, 3);

    grid->addWidget(makeLabel(box, QStringLiteral("L ch")), 3, 1, Qt::AlignCenter);
    grid->addWidget(makeLabel(box, QStringLiteral("R ch")), 3, 2, Qt::AlignCenter);
    const char* firstNames[4] = {"Edit29", "Edit31", "Edit33", "Edit35"};
    const char* lastNames[4] = {"Edit30", "Edit32", "Edit34", "Edit36"};
    const char* kindNames[4] = {"ComboBox9", "ComboBox10", "ComboBox11", "ComboBox12"};
    const char* valueNames[4] = {"Edit39", "Edit40", "Edit41", "Edit42"};
    const QStringList kinds{QStringLiteral("NET"), QStringLiteral("GROSS")};
    for (int i = 0; i < 4; ++i) {
        const int row = 4 + i;
        grid->addWidget(makeLabel(box, QStringLiteral("ROI#%1").arg(i + 1)), row, 0);
        roiFirst_[i] = displayBox(box, firstNames[i], 60);
        roiLast_[i] = displayBox(box, lastNames[i], 60);
        roiKind_[i] = makeCombo(box, kindNames[i], kinds);
        roiValue_[i] = displayBox(box, valueNames[i], 80);
        grid->addWidget(roiFirst_[i], row, 1);
        grid->addWidget(roiLast_[i], row, 2);
        grid->addWidget(roiKind_[i], row, 3);
        grid->addWidget(roiValue_[i], row, 4);
    }
    Edit29 = roiFirst_[0];
    Edit31 = roiFirst_[1];
    Edit33 = roiFirst_[2];
    Edit35 = roiFirst_[3];
    Edit30 = roiLast_[0];
    Edit32 = roiLast_[1];
    Edit34 = roiLast_[2];
    Edit36 = roiLast_[3];
    ComboBox9 = roiKind_[0];
    ComboBox10 = roiKind_[1];
    ComboBox11 = roiKind_[2];
    ComboBox12 = roiKind_[3];
    Edit39 = roiValue_[0];
    Edit40 = roiValue_[1];
    Edit41 = roiValue_[2];
    Edit42 = roiValue_[3];

    Edit37 = displayBox(box, "Edit37", 60);
    Edit38 = displayBox(box, "Edit38", 60);
    grid->addWidget(makeLabel(box, QStringLiteral("wPos")), 8, 0);
    grid->addWidget(Edit37, 8, 1);
    grid->addWidget(makeLabel(box, QStringLiteral("rPos")), 8, 2, Qt::AlignRight);
    grid->addWidget(Edit38, 8, 3);
}

void DebugPage::buildMotorBox(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    ComboBox14 = makeCombo(box, "ComboBox14", hexSwItems());
    grid->addWidget(makeLabel(box, QStringLiteral("ノンストップモータ用コントローラー番号")), 0, 0,
                    1, 3);
    grid->addWidget(ComboBox14, 0, 3);
    auto* note = new QVBoxLayout;
    note->setSpacing(0);
    for (const QString& line :
         {QStringLiteral("ノンステップ駆動モータは、4CHモータコントローラーの"),
          QStringLiteral("1番モータのみが指定できます。")}) {
        QLabel* l = makeLabel(box, line);
        l->setStyleSheet(QStringLiteral("color: #0000a0;"));
        note->addWidget(l);
    }
    grid->addLayout(note, 1, 0, 1, 4);

    Edit48 = makeEdit(box, "Edit48", 80);
    Edit51 = makeEdit(box, "Edit51", 80);
    Edit50 = makeEdit(box, "Edit50", 80);
    Edit49 = makeEdit(box, "Edit49", 80);
    Edit52 = makeEdit(box, "Edit52", 80);
    grid->addWidget(makeLabel(box, QStringLiteral("回転速度[pps]")), 2, 0);
    grid->addWidget(Edit48, 2, 1);
    grid->addWidget(makeLabel(box, QStringLiteral("logicPulse")), 3, 0);
    grid->addWidget(Edit51, 3, 1);
    grid->addWidget(makeLabel(box, QStringLiteral("インターバルパルス数")), 4, 0);
    grid->addWidget(Edit50, 4, 1);
    Button78 = makeButton(box, "Button78", QStringLiteral("SET"));
    Button79 = makeButton(box, "Button79", QStringLiteral("READ"));
    grid->addWidget(Button78, 4, 2);
    grid->addWidget(Button79, 4, 3);
    grid->addWidget(makeLabel(box, QStringLiteral("論理座標")), 5, 0);
    grid->addWidget(Edit49, 5, 1);
    grid->addWidget(makeLabel(box, QStringLiteral("まで")), 5, 2);
    Button21 = makeButton(box, "Button21", QStringLiteral("測定移動"));
    Button22 = makeButton(box, "Button22", QStringLiteral("STOP"));
    grid->addWidget(Button21, 6, 1);
    grid->addWidget(Button22, 6, 2);
    Button24 = makeButton(box, "Button24", QStringLiteral("座標を変更"));
    grid->addWidget(Edit52, 7, 1);
    grid->addWidget(Button24, 7, 2, 1, 2);
    Edit53 = displayBox(box, "Edit53", 80);
    Edit128 = displayBox(box, "Edit128", 80);
    grid->addWidget(makeLabel(box, QStringLiteral("現在位置")), 8, 0);
    grid->addWidget(Edit53, 8, 1);
    grid->addWidget(Edit128, 8, 2, 1, 2);

    connect(ComboBox14, &QComboBox::activated, this, &DebugPage::ComboBox14Change);
    connect(Edit48, &QLineEdit::textChanged, this, &DebugPage::Edit48Change);
    connect(Edit51, &QLineEdit::textChanged, this, &DebugPage::Edit51Change);
    connect(Edit50, &QLineEdit::textChanged, this, &DebugPage::Edit50Change);
    connect(Edit49, &QLineEdit::textChanged, this, &DebugPage::Edit49Change);
    connect(Edit52, &QLineEdit::textChanged, this, &DebugPage::Edit52Change);
    connect(Button78, &QPushButton::clicked, this, &DebugPage::Button78Click);
    connect(Button79, &QPushButton::clicked, this, &DebugPage::Button79Click);
    connect(Button21, &QPushButton::clicked, this, &DebugPage::Button21Click);
    connect(Button22, &QPushButton::clicked, this, &DebugPage::Button22Click);
    connect(Button24, &QPushButton::clicked, this, &DebugPage::Button24Click);
}

void DebugPage::buildMcaBox(QWidget* box) {
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    ComboBox13 = makeCombo(box, "ComboBox13",
                           {QStringLiteral("ROI#1"), QStringLiteral("ROI#2"),
                            QStringLiteral("ROI#3"), QStringLiteral("ROI#4")});
    ComboBox13->setCurrentIndex(-1);  // no ROI chosen yet
    Edit45 = makeEdit(box, "Edit45", 60);
    Edit46 = makeEdit(box, "Edit46", 60);
    grid->addWidget(ComboBox13, 0, 0);
    grid->addWidget(makeLabel(box, QStringLiteral("L ch")), 0, 1, Qt::AlignRight);
    grid->addWidget(Edit45, 0, 2);
    grid->addWidget(makeLabel(box, QStringLiteral("R ch")), 0, 3, Qt::AlignRight);
    grid->addWidget(Edit46, 0, 4);
    auto* kinds = new QWidget(box);  // own parent: the two radio buttons exclude each other only
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->setContentsMargins(0, 0, 0, 0);
    RadioButton4 = makeRadio(kinds, "RadioButton4", QStringLiteral("NET"));
    RadioButton5 = makeRadio(kinds, "RadioButton5", QStringLiteral("GROSS"));
    kindRow->addWidget(RadioButton4);
    kindRow->addWidget(RadioButton5);
    kindRow->addStretch(1);
    grid->addWidget(kinds, 1, 0, 1, 3);
    Button17 = makeButton(box, "Button17", QStringLiteral("設定"));
    grid->addWidget(Button17, 1, 4);

    ComboBox2 = makeCombo(box, "ComboBox2",
                          {QStringLiteral("256ch"), QStringLiteral("512ch"),
                           QStringLiteral("1024ch"), QStringLiteral("2048ch")});
    Button1 = makeButton(box, "Button1", QStringLiteral("Pset"));
    grid->addWidget(ComboBox2, 2, 0);
    grid->addWidget(Button1, 2, 4);
    grid->addWidget(makeLabel(box, QStringLiteral("初期値は、MCA側でも扱うので不明。")), 3, 0, 1,
                    5);

    Button20 = makeButton(box, "Button20", QStringLiteral("データ数Read"));
    Edit47 = displayBox(box, "Edit47", 60);
    grid->addWidget(Button20, 4, 0);
    grid->addWidget(Edit47, 4, 1, 1, 2);
    Button23 = makeButton(box, "Button23", QStringLiteral("データＲＥＡＤ"));
    grid->addWidget(Button23, 5, 0);

    connect(ComboBox13, &QComboBox::activated, this, &DebugPage::ComboBox13Change);
    connect(Edit45, &QLineEdit::textChanged, this, &DebugPage::Edit45Change);
    connect(Edit46, &QLineEdit::textChanged, this, &DebugPage::Edit46Change);
    connect(RadioButton4, &QRadioButton::toggled, this, &DebugPage::RadioButton4Click);
    connect(RadioButton5, &QRadioButton::toggled, this, &DebugPage::RadioButton5Click);
    connect(Button17, &QPushButton::clicked, this, &DebugPage::Button17Click);
    connect(ComboBox2, &QComboBox::activated, this, &DebugPage::ComboBox2Change);
    connect(Button1, &QPushButton::clicked, this, &DebugPage::Button1Click);
    connect(Button20, &QPushButton::clicked, this, &DebugPage::Button20Click);
    connect(Button23, &QPushButton::clicked, this, &DebugPage::Button23Click);
}

void DebugPage::startupStep(int step) {
    const InfoRecord& r = rec();
    switch (step) {
        case 8:
            Edit44->setText(QString::number(r.McaChannels[0]));
            break;
        case 10:
            selectItem(ComboBox14, r.NonStopHexSw);
            break;
        case 13:
            selectItem(ComboBox2, r.DebugChannelIndex);
            break;
        case 16:
            Edit48->setText(QString::number(r.DebugSpeedPps));
            Edit50->setText(QString::number(r.DebugIntervalPulses));
            Edit51->setText(QString::number(r.DebugLogicPulse));
            Edit49->setText(formatGeneral(r.DebugTarget));
            Edit52->setText(formatGeneral(r.DebugNewCoord));
            break;
        default:
            break;
    }
}

// --- Store handlers ---

void DebugPage::ComboBox14Change() {
    if (ComboBox14->currentIndex() >= 0) rec().NonStopHexSw = ComboBox14->currentIndex();
}
void DebugPage::Edit48Change() { storeInt(Edit48->text(), rec().DebugSpeedPps); }
void DebugPage::Edit51Change() { storeInt(Edit51->text(), rec().DebugLogicPulse); }
void DebugPage::Edit50Change() { storeInt(Edit50->text(), rec().DebugIntervalPulses); }
void DebugPage::Edit49Change() { storeDouble(Edit49->text(), rec().DebugTarget); }
void DebugPage::Edit52Change() { storeDouble(Edit52->text(), rec().DebugNewCoord); }

void DebugPage::ComboBox13Change() {
    if (ComboBox13->currentIndex() >= 0) DebugRoiNumber = ComboBox13->currentIndex() + 1;
}
void DebugPage::Edit45Change() { storeInt(Edit45->text(), DebugRoiFirst); }
void DebugPage::Edit46Change() { storeInt(Edit46->text(), DebugRoiLast); }
void DebugPage::RadioButton4Click() {
    if (RadioButton4->isChecked()) DebugRoiKind = 0;
}
void DebugPage::RadioButton5Click() {
    if (RadioButton5->isChecked()) DebugRoiKind = 1;
}

void DebugPage::ComboBox2Change() {
    const int index = ComboBox2->currentIndex();
    if (index >= 0 && index <= 3) rec().McaChannels[0] = 256 << index;
}

// --- Instrument commands ---

char DebugPage::mca1() { return moduleChar(rec().Mca1HexSw); }
char DebugPage::nonStopModule() { return moduleChar(rec().NonStopHexSw); }

// The MCA page's "MCA1 " selection.
bool DebugPage::mca1Selected() {
    const QWidget* mcaPage = window()->findChild<QWidget*>(QStringLiteral("MCAcollect"));
    const QCheckBox* box =
        mcaPage ? mcaPage->findChild<QCheckBox*>(QStringLiteral("CheckBox13")) : nullptr;
    return box && box->isChecked();
}

// Offline first: timers keep running while the message box is open and must find the
// instrument out of reach.
void DebugPage::goOffline(const QString& message) {
    st().Online = 0;
    main().showOnlineLamp(false);
    svc().alerts.message(message);
}

bool DebugPage::refusedOffline() {
    if (st().Online != 0) return false;
    svc().alerts.status(QStringLiteral("オフラインです。ツールバーの接続の後に操作してください"));
    return true;
}

void DebugPage::Button17Click() {
    if (refusedOffline()) return;
    if (DebugRoiNumber < 1 || DebugRoiNumber > 4) {
        // Nothing chosen in the ROI# box yet: there is no hardware ROI to set.
        svc().alerts.beep();
        svc().alerts.message(QStringLiteral("ROI#を選択してください"));
        return;
    }
    if (kx().KX10MCA_2DSCAN_ROISET(1, mca1(), DebugRoiNumber - 1, DebugRoiFirst, DebugRoiLast,
                                   DebugRoiKind) < 0) {
        svc().alerts.beep();
        svc().alerts.message(QStringLiteral("ROI SET error"));
    }
}

void DebugPage::Button1Click() {
    if (refusedOffline()) {
        svc().alerts.beep();
        return;
    }
    if (kx().KX10MCA_2DSCAN_PSET(1, mca1(), rec().McaChannels[0]) < 0) {
        svc().alerts.beep();
        svc().alerts.message(QStringLiteral("二次元ノンストップ　PRESET Motor ERROR"));
    }
}

void DebugPage::Button20Click() {
    if (refusedOffline()) return;
    char reply[kScanStatusReplySize + 1] = {};
    if (kx().KX10MCA_2DSCAN_Status(1, mca1(), reply, kScanStatusReplySize) < 0) {
        svc().alerts.beep();
        st().Online = 0;
        svc().alerts.message(QStringLiteral("Read ROI data count error"));
    }
    Edit47->setText(QString::fromLatin1(reply, static_cast<int>(qstrnlen(reply, 3))));
}

void DebugPage::Button23Click() {
    if (refusedOffline()) return;
    // The whole pixel frame fits, markers included; the page shows its first 32 words raw.
    static_assert(kPixelFrameSize >= kRoiCountValues * 4, "reply holds the values shown");
    uint8_t reply[kPixelFrameSize] = {};
    if (kx().KX10MCA_2DSCAN_ReadROI(1, mca1(), reply, kPixelFrameSize) < 0) {
        svc().alerts.beep();
        st().Online = 0;
        svc().alerts.message(QStringLiteral("Read ROI data error"));
    }
    for (int line = 0; line < 4; ++line) {
        int32_t v[8];
        for (int j = 0; j < 8; ++j) v[j] = readLe32(reply + 4 * (8 * line + j));
        roiCounts_[line]->setText(formatC("%8d,%8d,%8d,%8d,%8d,%8d,%8d,%8d", v[0], v[1], v[2], v[3],
                                          v[4], v[5], v[6], v[7]));
    }
}

void DebugPage::Button21Click() {
    if (refusedOffline()) return;
    if (!mca1Selected()) {
        svc().alerts.status(QStringLiteral("MCA1 が選ばれていません (MCA ページの MCA1)"));
        return;
    }
    InfoRecord& r = rec();
    Alerts& alerts = svc().alerts;
    auto failed = [&alerts](int32_t result, const char* message) {
        if (result >= 0) return false;
        alerts.beep();
        alerts.message(QString::fromUtf8(message));
        return true;
    };
    const char m = mca1();
    if (failed(kx().KX10MCA_Preset(1, m, r.McaPresetMode[0], r.McaChannels[0], 99999),
               "MCA Preset error"))
        return;
    if (failed(kx().KX10MCA_Clear(1, m), "MCA Clear error")) return;
    if (failed(kx().KX10MCA_2DSCAN_PSET(1, m, r.McaChannels[0]), "MCA 2DSCAN PSET error")) return;
    if (failed(kx().KX10MCA_2DSCAN_Start(1, m), "MCA 2DSCAN Start error")) return;
    const char ns = nonStopModule();
    const int32_t speed = r.DebugSpeedPps;
    if (failed(kx().KX10Motor_Set_Speed(1, ns, kNonStopAxis, speed, speed, speed, 0, 0),
               "Motor Preset error"))
        return;
    if (failed(kx().KX10Motor_Set_Interval_Pulse(1, ns, kNonStopAxis, r.DebugIntervalPulses),
               "Motor Set interval pulse error"))
        return;
    failed(kx().KX10Motor_MoveTo_PAddress(1, ns, kNonStopAxis,
                                          logicalToPulses(r.DebugLogicPulse, r.DebugTarget)),
           "Motor goto error");
}

void DebugPage::Button24Click() {
    if (refusedOffline()) return;
    InfoRecord& r = rec();
    storeDouble(Edit52->text(), r.DebugNewCoord);
    if (kx().KX10Motor_Set_Pulse_Address(1, nonStopModule(), kNonStopAxis,
                                         logicalToPulses(r.DebugLogicPulse, r.DebugNewCoord)) < 0)
        svc().alerts.message(QStringLiteral("座標変更命令エラー"));
}

void DebugPage::Button22Click() {
    if (refusedOffline()) return;
    kx().KX10Motor_Halt(1, nonStopModule(), kNonStopAxis);
}

void DebugPage::Button78Click() {
    if (refusedOffline()) return;
    kx().KX10Motor_Set_Interval_Pulse(1, nonStopModule(), kNonStopAxis, rec().DebugIntervalPulses);
}

void DebugPage::Button79Click() {
    if (refusedOffline()) return;
    uint8_t dump[kMemoryDumpSize] = {};
    if (kx().KX10Motor_Read_18memory2(1, nonStopModule(), kNonStopAxis, dump, kMemoryDumpSize) <
        0) {
        // The dump holds no value: keep the interval the operator has set.
        svc().alerts.beep();
        return;
    }
    // Bytes 1..4: the controller's interval pulse count; the box stores it in the record.
    Edit50->setText(QString::number(readLe32(dump + 1)));
}

// --- Tick duty ---

void DebugPage::showStateBlock(const uint8_t* block) {
    Edit28->setText(QString::number(block[0]));
    Edit44->setText(QString::number(block[2] | (block[3] << 8)));
    for (int i = 0; i < 4; ++i) switches_[i]->setChecked(block[4 + i] != 0);
    for (int i = 0; i < 4; ++i) {
        roiFirst_[i]->setText(QString::number(readLe32(block + 8 + 4 * i)));
        roiLast_[i]->setText(QString::number(readLe32(block + 24 + 4 * i)));
        selectItem(roiKind_[i], static_cast<int8_t>(block[40 + i]));
        roiValue_[i]->setText(QString::number(readLe32(block + 44 + 4 * i)));
    }
    Edit37->setText(QString::number(readLe32(block + 60)));
    Edit38->setText(QString::number(readLe32(block + 64)));
}

void DebugPage::tickDuty() {
    if (st().Online != 1) return;
    InfoRecord& r = rec();
    Alerts& alerts = svc().alerts;

    uint8_t block[kDebugBlockSize] = {};
    if (kx().KX10MCA_2DSCAN_ReadDebug(1, mca1(), block, kDebugBlockSize) < 0)
        goOffline(QStringLiteral("DEBUG QOR-10内部データ読み出しでエラー"));
    if (block[kDebugBlockSize - 1] != 'E')
        goOffline(QStringLiteral("DEBUG QOR-10内部データFORMAT error"));
    showStateBlock(block);

    static_assert(kPaddressReplySize >= 11, "the reply holds the 10-digit address");
    char reply[kPaddressReplySize + 1] = {};
    if (kx().KX10Motor_Read_Paddress(1, nonStopModule(), kNonStopAxis, reply, kPaddressReplySize) <
        0) {
        alerts.beep();
        alerts.message(QStringLiteral("Read Paddrss timeover or error"));
        svc().clock.sleepMs(3000);
    }
    int32_t pulses = 0;
    parsePaddressReply(reply, pulses);
    if (r.DebugLogicPulse == 0) r.DebugLogicPulse = 1;
    Edit53->setText(formatC("%10.3lf", pulses / static_cast<double>(r.DebugLogicPulse)).left(10));
    Edit128->setText(QString::number(pulses));
}

}  // namespace qor
