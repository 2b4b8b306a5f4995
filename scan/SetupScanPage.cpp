#include "scan/SetupScanPage.h"

#include "app/EchoedBox.h"
#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "scan/ScanConfig.h"
#include "scan/SetupScanPictures.h"
#include "scan/StageLamp.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qor {

namespace {

const char* const kRoiCheckNames[] = {
    "CheckBox22", "CheckBox25", "CheckBox26", "CheckBox29", "CheckBox30",
    "CheckBox31", "CheckBox32", "CheckBox33", "CheckBox34", "CheckBox35",
    "CheckBox36", "CheckBox37", "CheckBox38", "CheckBox39", "CheckBox40",
    "CheckBox41", "CheckBox42", "CheckBox43", "CheckBox44", "CheckBox45"};

// Design names of the rows of motors #3 .. #8.
struct MotorRowNames {
    const char *position, *edit, *setPos, *go, *gotoPos, *left, *stop, *right, *jogStep, *ccw,
        *cw;
};
const MotorRowNames kMotorRowNames[6] = {
    {"Edit82", "Button32", "Edit84", "Button33", "Edit85", "Button34", "Button35", "Button36",
     "Edit86", "imgCCW3", "imgCW3"},
    {"Edit87", "Button37", "Edit89", "Button38", "Edit90", "Button39", "Button40", "Button41",
     "Edit91", "imgCCW4", "imgCW4"},
    {"Edit92", "Button42", "Edit94", "Button43", "Edit95", "Button44", "Button45", "Button46",
     "Edit96", "imgCCW5", "imgCW5"},
    {"Edit97", "Button47", "Edit99", "Button48", "Edit100", "Button49", "Button50", "Button51",
     "Edit101", "imgCCW6", "imgCW6"},
    {"Edit102", "Button52", "Edit104", "Button53", "Edit105", "Button54", "Button55", "Button56",
     "Edit106", "imgCCW7", "imgCW7"},
    {"Edit107", "Button57", "Edit109", "Button58", "Edit110", "Button59", "Button60", "Button61",
     "Edit111", "imgCCW8", "imgCW8"},
};

constexpr int kValueWidth = 58;     // EDIT, GOTO and jog step boxes
constexpr int kPositionWidth = 84;  // "%10.4lf" positions
constexpr int kParamWidth = 64;     // scan parameter boxes

QLabel* rightLabel(QWidget* parent, const QString& text) {
    QLabel* l = makeLabel(parent, text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QToolButton* soundButton(QWidget* parent, const char* name) {
    QToolButton* b = makeSpeedButton(parent, name, QStringLiteral("♪"));
    b->setFixedSize(24, 22);
    return b;
}

QPushButton* smallButton(QWidget* parent, const char* name, const QString& caption, int width) {
    QPushButton* b = makeButton(parent, name, caption);
    b->setFixedWidth(width);
    return b;
}

// A label showing a value as its box would (the size display).
QLabel* valueLabel(QWidget* parent, const char* name, int width) {
    QLabel* l = makeLabel(parent, QString(), name);
    l->setFixedWidth(width);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

}  // namespace

SetupScanPage::SetupScanPage(PageContext ctx, QWidget* parent)
    : Page(ctx, parent), stage_(ctx.st, ctx.kx, ctx.svc.alerts) {
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(buildMapRoiGroup(), 1);
    top->addWidget(buildPresetGroup(), 0);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(buildOriginGroup());
    right->addWidget(buildMotorGroup());
    right->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(6);
    bottom->addWidget(buildScanParameterGroup(), 0, Qt::AlignTop);
    bottom->addLayout(right, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);
    page->addLayout(top);
    page->addLayout(bottom, 1);
    connectStageButtons();
}

// ---------------------------------------------------------------------------------------------
// Building the groups

QWidget* SetupScanPage::buildMapRoiGroup() {
    QGroupBox* g = makeGroup(this, "GroupMapRoi",
                             QStringLiteral("　ROI の元素名 　(アルファと数値のみ　空白記号は不可)　 "));
    auto* grid = new QGridLayout(g);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    const QString hint = QStringLiteral("マップデータを作成する場合はチェックを入れる。");
    const QStringList kinds{QStringLiteral("NET"), QStringLiteral("GROSS")};
    for (int i = 0; i < kMapRoiSlots; ++i) {
        const QByteArray comboName = "ComboBox" + QByteArray::number(15 + i);
        const QByteArray editName = "Edit" + QByteArray::number(54 + i);
        mapRoiCheck[i] = makeCheck(g, kRoiCheckNames[i], QStringLiteral("ROI-%1").arg(i + 1));
        mapRoiCheck[i]->setToolTip(hint);
        mapRoiKind[i] = makeCombo(g, comboName.constData(), kinds);
        mapRoiName[i] = makeEdit(g, editName.constData(), 96);
        // Three columns of seven slots: ROI-1 .. ROI-7 in the first column.
        const int row = i % 7, col = (i / 7) * 4;
        grid->addWidget(mapRoiCheck[i], row, col);
        grid->addWidget(mapRoiKind[i], row, col + 1);
        grid->addWidget(mapRoiName[i], row, col + 2);
        if (i / 7 < 2) grid->setColumnMinimumWidth(col + 3, 10);
    }
    SpeedButton35 = soundButton(g, "SpeedButton35");
    grid->addWidget(SpeedButton35, 6, 11, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnStretch(11, 1);

    QCheckBox** checks[] = {&CheckBox22, &CheckBox25, &CheckBox26, &CheckBox29, &CheckBox30,
                            &CheckBox31, &CheckBox32, &CheckBox33, &CheckBox34, &CheckBox35,
                            &CheckBox36, &CheckBox37, &CheckBox38, &CheckBox39, &CheckBox40,
                            &CheckBox41, &CheckBox42, &CheckBox43, &CheckBox44, &CheckBox45};
    QComboBox** combos[] = {&ComboBox15, &ComboBox16, &ComboBox17, &ComboBox18, &ComboBox19,
                            &ComboBox20, &ComboBox21, &ComboBox22, &ComboBox23, &ComboBox24,
                            &ComboBox25, &ComboBox26, &ComboBox27, &ComboBox28, &ComboBox29,
                            &ComboBox30, &ComboBox31, &ComboBox32, &ComboBox33, &ComboBox34};
    QLineEdit** edits[] = {&Edit54, &Edit55, &Edit56, &Edit57, &Edit58, &Edit59, &Edit60,
                           &Edit61, &Edit62, &Edit63, &Edit64, &Edit65, &Edit66, &Edit67,
                           &Edit68, &Edit69, &Edit70, &Edit71, &Edit72, &Edit73};
    for (int i = 0; i < kMapRoiSlots; ++i) {
        *checks[i] = mapRoiCheck[i];
        *combos[i] = mapRoiKind[i];
        *edits[i] = mapRoiName[i];
    }

    using P = SetupScanPage;
    void (P::*checkHandlers[])() = {
        &P::CheckBox22Click, &P::CheckBox25Click, &P::CheckBox26Click, &P::CheckBox29Click,
        &P::CheckBox30Click, &P::CheckBox31Click, &P::CheckBox32Click, &P::CheckBox33Click,
        &P::CheckBox34Click, &P::CheckBox35Click, &P::CheckBox36Click, &P::CheckBox37Click,
        &P::CheckBox38Click, &P::CheckBox39Click, &P::CheckBox40Click, &P::CheckBox41Click,
        &P::CheckBox42Click, &P::CheckBox43Click, &P::CheckBox44Click, &P::CheckBox45Click};
    void (P::*comboHandlers[])() = {
        &P::ComboBox15Change, &P::ComboBox16Change, &P::ComboBox17Change, &P::ComboBox18Change,
        &P::ComboBox19Change, &P::ComboBox20Change, &P::ComboBox21Change, &P::ComboBox22Change,
        &P::ComboBox23Change, &P::ComboBox24Change, &P::ComboBox25Change, &P::ComboBox26Change,
        &P::ComboBox27Change, &P::ComboBox28Change, &P::ComboBox29Change, &P::ComboBox30Change,
        &P::ComboBox31Change, &P::ComboBox32Change, &P::ComboBox33Change, &P::ComboBox34Change};
    void (P::*editHandlers[])() = {
        &P::Edit54Change, &P::Edit55Change, &P::Edit56Change, &P::Edit57Change, &P::Edit58Change,
        &P::Edit59Change, &P::Edit60Change, &P::Edit61Change, &P::Edit62Change, &P::Edit63Change,
        &P::Edit64Change, &P::Edit65Change, &P::Edit66Change, &P::Edit67Change, &P::Edit68Change,
        &P::Edit69Change, &P::Edit70Change, &P::Edit71Change, &P::Edit72Change, &P::Edit73Change};
    for (int i = 0; i < kMapRoiSlots; ++i) {
        connect(mapRoiCheck[i], &QCheckBox::toggled, this, checkHandlers[i]);
        connect(mapRoiKind[i], &QComboBox::activated, this, comboHandlers[i]);
        connect(mapRoiName[i], &QLineEdit::textChanged, this, editHandlers[i]);
    }
    connect(SpeedButton35, &QToolButton::clicked, this, &P::SpeedButton35Click);
    return g;
}

QWidget* SetupScanPage::buildPresetGroup() {
    auto* column = new QWidget(this);
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(6);

    QGroupBox* g = makeGroup(column, "GroupMapPreset", QStringLiteral(" MCA#1 Preset "));
    auto* gl = new QVBoxLayout(g);
    gl->setContentsMargins(8, 4, 8, 6);
    gl->addWidget(makeLabel(g, QStringLiteral("MCA測定のチャンネルサイズ")));
    ComboBox35 = makeCombo(g, "ComboBox35",
                           {QStringLiteral("256ch"), QStringLiteral("512ch"),
                            QStringLiteral("1024ch"), QStringLiteral("2048ch")});
    gl->addWidget(ComboBox35);
    v->addWidget(g);

    // The picture button beside its label.
    auto* peng = new QHBoxLayout;
    peng->setSpacing(4);
    imgPeng1 = named(new QToolButton(column), "imgPeng1");
    imgPeng2 = named(new QToolButton(column), "imgPeng2");
    const QPixmap pose1 = pictureButtonPose(44, false), pose2 = pictureButtonPose(44, true);
    imgPeng1->setIcon(QIcon(pose1));
    imgPeng2->setIcon(QIcon(pose2));
    for (QToolButton* b : {imgPeng1, imgPeng2}) {
        b->setIconSize(QSize(44, 44));
        b->setAutoRaise(true);
        b->setFixedSize(50, 50);
        peng->addWidget(b);
    }
    imgPeng2->hide();
    peng->addWidget(makeLabel(column, QStringLiteral("営業マン")));
    peng->addStretch(1);
    v->addLayout(peng);
    v->addStretch(1);

    connect(ComboBox35, &QComboBox::activated, this, &SetupScanPage::ComboBox35Change);
    connect(imgPeng1, &QToolButton::clicked, this, &SetupScanPage::imgPeng1Click);
    connect(imgPeng2, &QToolButton::clicked, this, &SetupScanPage::imgPeng1Click);
    return column;
}

QWidget* SetupScanPage::buildScanParameterGroup() {
    QGroupBox* g = makeGroup(this, "GroupScanParameters",
                             QStringLiteral("　二次元ノンストップ移動のＸ軸モーターパラメータ指定　"));
    auto* v = new QVBoxLayout(g);
    v->setContentsMargins(8, 4, 8, 6);
    v->setSpacing(5);

    // Motion parameters and counts, each with its sound help.
    auto* params = new QGridLayout;
    params->setHorizontalSpacing(4);
    params->setVerticalSpacing(3);
    struct Row {
        QLineEdit** edit;
        const char* name;
        const char* label;
        QToolButton** help;
        const char* helpName;
    };
    const Row rows[] = {
        {&Edit74, "Edit74", "Ｘ軸モーターの回転速度[pps]", &SpeedButton21, "SpeedButton21"},
        {&Edit75, "Edit75", "Ｘ軸二次元のピクセル幅[パルス数]", &SpeedButton22, "SpeedButton22"},
        {&Edit76, "Edit76", "Ｙ軸二次元のピクセル幅[パルス数]", &SpeedButton23, "SpeedButton23"},
        {&Edit78, "Edit78", "二次元マップのX軸ｓｔｅｐ数", &SpeedButton30, "SpeedButton30"},
        {&Edit77, "Edit77", "二次元マップのY軸ｓｔｅｐ数", &SpeedButton24, "SpeedButton24"},
        {&Edit81, "Edit81", "二次元スキャンを何回繰り返す", &SpeedButton33, "SpeedButton33"},
    };
    int r = 0;
    for (const Row& row : rows) {
        *row.edit = makeEdit(g, row.name, kParamWidth);
        *row.help = soundButton(g, row.helpName);
        // Where the page is short the rows get lower than the button: the button then takes
        // its row's height, so that each stays on its own row beside its box.
        (*row.help)->setMinimumHeight(12);
        (*row.help)->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
        params->addWidget(makeLabel(g, QString::fromUtf8(row.label)), r, 0);
        params->addWidget(*row.edit, r, 1);
        params->addWidget(*row.help, r, 2);
        ++r;
    }
    params->setColumnStretch(0, 1);
    v->addLayout(params);

    // Z axis range.
    auto* z = new QGridLayout;
    z->setHorizontalSpacing(4);
    z->setVerticalSpacing(3);
    CheckBox48 = makeCheck(g, "CheckBox48", QStringLiteral("Z軸も使う"));
    Edit124 = makeEdit(g, "Edit124", kParamWidth);
    Edit125 = makeEdit(g, "Edit125", kParamWidth);
    Edit126 = makeEdit(g, "Edit126", kParamWidth);
    Edit127 = makeEdit(g, "Edit127", kParamWidth);
    z->addWidget(CheckBox48, 0, 0, 2, 1);
    z->addWidget(rightLabel(g, QStringLiteral("開始座標")), 0, 1);
    z->addWidget(Edit124, 0, 2);
    z->addWidget(rightLabel(g, QStringLiteral("終了座標")), 0, 3);
    z->addWidget(Edit125, 0, 4);
    z->addWidget(rightLabel(g, QStringLiteral("ステップ角度")), 1, 1);
    z->addWidget(Edit126, 1, 2);
    z->addWidget(rightLabel(g, QStringLiteral("回数")), 1, 3);
    z->addWidget(Edit127, 1, 4);
    z->setColumnStretch(0, 1);
    auto* zFrame = new QFrame(g);
    zFrame->setFrameShape(QFrame::StyledPanel);
    zFrame->setLayout(z);
    z->setContentsMargins(6, 4, 6, 4);
    v->addWidget(zFrame);

    // Scan method with the picture of its path.
    auto* method = new QHBoxLayout;
    method->setSpacing(6);
    auto* methodLeft = new QVBoxLayout;
    methodLeft->addWidget(makeLabel(g, QStringLiteral("Scan Method ")));
    smSelect = makeCombo(g, "smSelect", {QStringLiteral("X軸+方向のみ"), QStringLiteral("X軸で往復")});
    methodLeft->addWidget(smSelect);
    methodLeft->addStretch(1);
    method->addLayout(methodLeft);
    scanm1 = makeLabel(g, QString(), "scanm1");
    scanm2 = makeLabel(g, QString(), "scanm2");
    scanm1->setPixmap(scanPathOneWay(120, 60));
    scanm2->setPixmap(scanPathBackAndForth(120, 60));
    method->addWidget(scanm1);
    method->addWidget(scanm2);
    scanm1->hide();
    method->addStretch(1);
    v->addLayout(method);

    // Backlash of X and Y.
    auto* backlash = new QHBoxLayout;
    backlash->setSpacing(4);
    Edit153 = makeEdit(g, "Edit153", 60);
    Edit154 = makeEdit(g, "Edit154", 60);
    backlash->addWidget(makeLabel(g, QStringLiteral("X軸Backlash")));
    backlash->addWidget(Edit153);
    backlash->addWidget(makeLabel(g, QStringLiteral("パルス")));
    backlash->addSpacing(12);
    backlash->addWidget(makeLabel(g, QStringLiteral("Y軸Backlash")));
    backlash->addWidget(Edit154);
    backlash->addWidget(makeLabel(g, QStringLiteral("パルス")));
    backlash->addStretch(1);
    v->addLayout(backlash);

    // Size display: measurement points and the scanned size.
    auto* size = new QGridLayout;
    size->setHorizontalSpacing(4);
    size->setVerticalSpacing(3);
    Label97 = valueLabel(g, "Label97", 52);
    Label99 = valueLabel(g, "Label99", 52);
    Label92 = valueLabel(g, "Label92", 84);
    Label94 = valueLabel(g, "Label94", 84);
    size->addWidget(makeLabel(g, QStringLiteral("測定点(ピクセル)")), 0, 0);
    size->addWidget(rightLabel(g, QStringLiteral("X=")), 0, 1);
    size->addWidget(Label97, 0, 2);
    size->addWidget(rightLabel(g, QStringLiteral("Y=")), 0, 3);
    size->addWidget(Label99, 0, 4);
    size->addWidget(makeLabel(g, QStringLiteral("[ mm, cm ]")), 1, 0);
    size->addWidget(rightLabel(g, QStringLiteral("Xsize")), 1, 1);
    size->addWidget(Label92, 1, 2);
    size->addWidget(rightLabel(g, QStringLiteral("Ysize")), 1, 3);
    size->addWidget(Label94, 1, 4);
    size->setColumnStretch(5, 1);
    v->addLayout(size);

    // Shown while a mapping scan runs: what is typed now applies to the next scan.
    LabelScanKeeps = makeLabel(g, QStringLiteral("スキャン実行中: 実行中のスキャンは開始時の値で測定します。"
                                                  "ここでの変更は次のスキャンから有効です"),
                               "LabelScanKeeps");
    LabelScanKeeps->setWordWrap(true);
    LabelScanKeeps->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold;"));
    LabelScanKeeps->hide();
    v->addWidget(LabelScanKeeps);

    using P = SetupScanPage;
    connect(Edit74, &QLineEdit::textChanged, this, &P::Edit74Change);
    connect(Edit75, &QLineEdit::textChanged, this, &P::Edit75Change);
    connect(Edit76, &QLineEdit::textChanged, this, &P::Edit76Chang);
    connect(Edit77, &QLineEdit::textChanged, this, &P::Edit77Change);
    connect(Edit78, &QLineEdit::textChanged, this, &P::Edit78Change);
    connect(Edit81, &QLineEdit::textChanged, this, &P::Edit81Change);
    connect(CheckBox48, &QCheckBox::toggled, this, &P::CheckBox48Click);
    connect(Edit124, &QLineEdit::textChanged, this, &P::Edit124Change);
    connect(Edit125, &QLineEdit::textChanged, this, &P::Edit125Change);
    connect(Edit126, &QLineEdit::textChanged, this, &P::Edit126Change);
    connect(Edit127, &QLineEdit::textChanged, this, &P::Edit127Change);
    connect(smSelect, &QComboBox::activated, this, &P::smSelectChange);
    connect(Edit153, &QLineEdit::textChanged, this, &P::Edit153Change);
    connect(Edit154, &QLineEdit::textChanged, this, &P::Edit154Change);
    connect(SpeedButton21, &QToolButton::clicked, this, &P::SpeedButton21Click);
    connect(SpeedButton22, &QToolButton::clicked, this, &P::SpeedButton22Click);
    connect(SpeedButton23, &QToolButton::clicked, this, &P::SpeedButton23Click);
    connect(SpeedButton24, &QToolButton::clicked, this, &P::SpeedButton24Click);
    connect(SpeedButton30, &QToolButton::clicked, this, &P::SpeedButton30Click);
    connect(SpeedButton33, &QToolButton::clicked, this, &P::SpeedButton33Click);
    return g;
}

QWidget* SetupScanPage::buildOriginGroup() {
    QGroupBox* g = makeGroup(this, "GroupOrigin",
                             QStringLiteral("　測定開始原点位置の調整  (0,0)位置が開始位置"));
    auto* h = new QHBoxLayout(g);
    h->setContentsMargins(8, 4, 8, 6);
    h->setSpacing(10);

    // The jog pad: ▲ / ▼ move Y, ◀ / ▶ move X, 停止 halts both.
    auto* pad = new QGridLayout;
    pad->setSpacing(2);
    Button26 = smallButton(g, "Button26", QStringLiteral("▲"), 40);
    Button27 = smallButton(g, "Button27", QStringLiteral("▼"), 40);
    Button28 = smallButton(g, "Button28", QStringLiteral("▶"), 40);
    Button29 = smallButton(g, "Button29", QStringLiteral("◀"), 40);
    Button30 = smallButton(g, "Button30", QStringLiteral("停止"), 48);
    pad->addWidget(Button26, 0, 1, Qt::AlignCenter);
    pad->addWidget(Button29, 1, 0);
    pad->addWidget(Button30, 1, 1);
    pad->addWidget(Button28, 1, 2);
    pad->addWidget(Button27, 2, 1, Qt::AlignCenter);
    h->addLayout(pad);

    // Positions with their limit lamps, and the jog steps.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    Edit123 = makeEdit(g, "Edit123", kPositionWidth);
    Edit122 = makeEdit(g, "Edit122", kPositionWidth);
    Edit80 = makeEdit(g, "Edit80", kPositionWidth);
    Edit79 = makeEdit(g, "Edit79", kPositionWidth);
    jogStepXEcho_ = EchoedBox(Edit80, formatPosition);
    jogStepYEcho_ = EchoedBox(Edit79, formatPosition);
    for (QLineEdit* e : {Edit123, Edit122}) e->setReadOnly(true);
    imgCCW1 = new StageLamp(g, "imgCCW1", QStringLiteral("CCW"));
    imgCW1 = new StageLamp(g, "imgCW1", QStringLiteral("CW"));
    imgCCW2 = new StageLamp(g, "imgCCW2", QStringLiteral("CCW"));
    imgCW2 = new StageLamp(g, "imgCW2", QStringLiteral("CW"));
    grid->addWidget(makeLabel(g, QStringLiteral("CCW")), 0, 3, Qt::AlignCenter);
    grid->addWidget(makeLabel(g, QStringLiteral("CW")), 0, 4, Qt::AlignCenter);
    grid->addWidget(makeLabel(g, QStringLiteral("移動量は、論理単位　mm,角度など")), 0, 6);
    grid->addWidget(rightLabel(g, QStringLiteral("X")), 1, 0);
    grid->addWidget(Edit123, 1, 1);
    grid->addWidget(imgCCW1, 1, 3, Qt::AlignCenter);
    grid->addWidget(imgCW1, 1, 4, Qt::AlignCenter);
    grid->addWidget(Edit80, 1, 6, Qt::AlignLeft);
    grid->addWidget(rightLabel(g, QStringLiteral("Y")), 2, 0);
    grid->addWidget(Edit122, 2, 1);
    grid->addWidget(imgCCW2, 2, 3, Qt::AlignCenter);
    grid->addWidget(imgCW2, 2, 4, Qt::AlignCenter);
    grid->addWidget(Edit79, 2, 6, Qt::AlignLeft);
    grid->setColumnMinimumWidth(5, 6);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(4);
    Button31 = makeButton(g, "Button31", QStringLiteral("座標を(0,0)にする"));
    SpeedButton32 = soundButton(g, "SpeedButton32");
    Button25 = makeButton(g, "Button25", QStringLiteral("測定領域を面移動とMCA測定"));
    actions->addWidget(Button31);
    actions->addWidget(SpeedButton32);
    actions->addSpacing(8);
    actions->addWidget(Button25);
    actions->addStretch(1);
    grid->addLayout(actions, 3, 0, 1, 7);
    h->addLayout(grid, 1);

    using P = SetupScanPage;
    connect(Edit79, &QLineEdit::textChanged, this, &P::Edit79Change);
    connect(Edit80, &QLineEdit::textChanged, this, &P::Edit80Change);
    connect(SpeedButton32, &QToolButton::clicked, this, &P::SpeedButton32Click);
    connect(Button25, &QPushButton::clicked, this, &P::Button25Click);
    return g;
}

QWidget* SetupScanPage::buildMotorGroup() {
    QGroupBox* g = makeGroup(this, "GroupMotors", QStringLiteral(" その他のモータ調整  座標は論理単位"));
    auto* grid = new QGridLayout(g);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    grid->addWidget(makeLabel(g, QStringLiteral("CCW")), 0, 2, Qt::AlignCenter);
    grid->addWidget(makeLabel(g, QStringLiteral("CW")), 0, 3, Qt::AlignCenter);
    for (int k = 0; k < 6; ++k) {
        const MotorRowNames& n = kMotorRowNames[k];
        MotorRow& row = motorRow[k];
        row.position = makeEdit(g, n.position, kPositionWidth);
        row.position->setReadOnly(true);
        row.edit = smallButton(g, n.edit, QStringLiteral("EDIT"), 46);
        row.setPos = makeEdit(g, n.setPos, kValueWidth);
        row.go = smallButton(g, n.go, QStringLiteral("GOTO"), 46);
        row.gotoPos = makeEdit(g, n.gotoPos, kValueWidth);
        row.left = smallButton(g, n.left, QStringLiteral("◀"), 28);
        row.stop = smallButton(g, n.stop, QStringLiteral("STOP"), 44);
        row.right = smallButton(g, n.right, QStringLiteral("▶"), 28);
        row.jogStep = makeEdit(g, n.jogStep, kValueWidth);
        row.ccw = new StageLamp(g, n.ccw, QStringLiteral("CCW"));
        row.cw = new StageLamp(g, n.cw, QStringLiteral("CW"));
        const int r = k + 1;
        grid->addWidget(makeLabel(g, QStringLiteral("#%1").arg(k + 3)), r, 0);
        grid->addWidget(row.position, r, 1);
        grid->addWidget(row.ccw, r, 2, Qt::AlignCenter);
        grid->addWidget(row.cw, r, 3, Qt::AlignCenter);
        grid->addWidget(row.edit, r, 4);
        grid->addWidget(row.setPos, r, 5);
        grid->addWidget(row.go, r, 6);
        grid->addWidget(row.gotoPos, r, 7);
        grid->addWidget(row.left, r, 8);
        grid->addWidget(row.stop, r, 9);
        grid->addWidget(row.right, r, 10);
        grid->addWidget(row.jogStep, r, 11);
    }
    grid->setColumnStretch(12, 1);

    Edit82 = motorRow[0].position; Edit87 = motorRow[1].position; Edit92 = motorRow[2].position;
    Edit97 = motorRow[3].position; Edit102 = motorRow[4].position; Edit107 = motorRow[5].position;
    Edit84 = motorRow[0].setPos; Edit89 = motorRow[1].setPos; Edit94 = motorRow[2].setPos;
    Edit99 = motorRow[3].setPos; Edit104 = motorRow[4].setPos; Edit109 = motorRow[5].setPos;
    Edit85 = motorRow[0].gotoPos; Edit90 = motorRow[1].gotoPos; Edit95 = motorRow[2].gotoPos;
    Edit100 = motorRow[3].gotoPos; Edit105 = motorRow[4].gotoPos; Edit110 = motorRow[5].gotoPos;
    Edit86 = motorRow[0].jogStep; Edit91 = motorRow[1].jogStep; Edit96 = motorRow[2].jogStep;
    Edit101 = motorRow[3].jogStep; Edit106 = motorRow[4].jogStep; Edit111 = motorRow[5].jogStep;
    Button32 = motorRow[0].edit; Button37 = motorRow[1].edit; Button42 = motorRow[2].edit;
    Button47 = motorRow[3].edit; Button52 = motorRow[4].edit; Button57 = motorRow[5].edit;
    Button33 = motorRow[0].go; Button38 = motorRow[1].go; Button43 = motorRow[2].go;
    Button48 = motorRow[3].go; Button53 = motorRow[4].go; Button58 = motorRow[5].go;
    Button34 = motorRow[0].left; Button39 = motorRow[1].left; Button44 = motorRow[2].left;
    Button49 = motorRow[3].left; Button54 = motorRow[4].left; Button59 = motorRow[5].left;
    Button35 = motorRow[0].stop; Button40 = motorRow[1].stop; Button45 = motorRow[2].stop;
    Button50 = motorRow[3].stop; Button55 = motorRow[4].stop; Button60 = motorRow[5].stop;
    Button36 = motorRow[0].right; Button41 = motorRow[1].right; Button46 = motorRow[2].right;
    Button51 = motorRow[3].right; Button56 = motorRow[4].right; Button61 = motorRow[5].right;
    imgCCW3 = motorRow[0].ccw; imgCCW4 = motorRow[1].ccw; imgCCW5 = motorRow[2].ccw;
    imgCCW6 = motorRow[3].ccw; imgCCW7 = motorRow[4].ccw; imgCCW8 = motorRow[5].ccw;
    imgCW3 = motorRow[0].cw; imgCW4 = motorRow[1].cw; imgCW5 = motorRow[2].cw;
    imgCW6 = motorRow[3].cw; imgCW7 = motorRow[4].cw; imgCW8 = motorRow[5].cw;

    using P = SetupScanPage;
    void (P::*setPosHandlers[])() = {&P::Edit84Change, &P::Edit89Change, &P::Edit94Change,
                                     &P::Edit99Change, &P::Edit104Change, &P::Edit109Change};
    void (P::*gotoHandlers[])() = {&P::Edit85Change, &P::Edit90Change, &P::Edit95Change,
                                   &P::Edit100Change, &P::Edit105Change, &P::Edit110Change};
    void (P::*jogHandlers[])() = {&P::Edit86Change, &P::Edit91Change, &P::Edit96Change,
                                  &P::Edit101Change, &P::Edit106Change, &P::Edit111Change};
    for (int k = 0; k < 6; ++k) {
        connect(motorRow[k].setPos, &QLineEdit::textChanged, this, setPosHandlers[k]);
        connect(motorRow[k].gotoPos, &QLineEdit::textChanged, this, gotoHandlers[k]);
        connect(motorRow[k].jogStep, &QLineEdit::textChanged, this, jogHandlers[k]);
    }
    return g;
}

// ---------------------------------------------------------------------------------------------
// Start-up

void SetupScanPage::startupStep(int step) {
    InfoRecord& r = rec();
    if (step == 10) {
        for (int i = 0; i < kMapRoiSlots; ++i) mapRoiKind[i]->setCurrentIndex(r.MapRoiKind[i]);
        for (int i = 0; i < kMapRoiSlots; ++i)
            mapRoiName[i]->setText(fromSjis(r.MapRoiElementName[i]));
        for (int i = 0; i < kMapRoiSlots; ++i) mapRoiCheck[i]->setChecked(r.MapRoiEnabled[i] != 0);
        for (int k = 0; k < 6; ++k) {
            const int m = k + 2;  // record index of motor #(k + 3)
            motorRow[k].setPos->setText(formatGeneral(r.MotorSetPos[m]));
            motorRow[k].jogStep->setText(formatGeneral(r.MotorJogStep[m]));
            motorRow[k].gotoPos->setText(formatGeneral(r.MotorGotoPos[m]));
        }
        Edit74->setText(QString::number(r.ScanXSpeedPps));
        Edit75->setText(QString::number(r.ScanXPixelPulses));
        Edit76->setText(QString::number(r.ScanYPixelPulses));
        Edit77->setText(QString::number(r.ScanYSteps));
        Edit78->setText(QString::number(r.ScanXSteps));
        Edit81->setText(QString::number(r.ScanRepeat));
        Edit79->setText(formatPosition(r.JogStepY));
        Edit80->setText(formatPosition(r.JogStepX));
        ComboBox35->setCurrentIndex(r.MapChannelIndex);
        // Until the acquisition cycle shows the live position.
        Edit82->setText(formatGeneral(r.MotorSetPos[2]));
    } else if (step == 16) {
        Edit124->setText(formatGeneral(r.ZStart));
        Edit125->setText(formatGeneral(r.ZEnd));
        Edit126->setText(formatGeneral(r.ZStep));
        Edit127->setText(QString::number(r.ZCount));
        CheckBox48->setChecked(r.ScanUseZ != 0);
    } else if (step == 18) {
        smSelect->setCurrentIndex(r.ScanMethod);
        showScanMethodPicture();
        Edit153->setText(QString::number(r.XBacklashPulses));
        Edit154->setText(QString::number(r.YBacklashPulses));
        showSizeDisplay();
    }
}

// ---------------------------------------------------------------------------------------------
// Acquisition tick

void SetupScanPage::tickDuty() {
    if (++PengTickCount > 15) {
        imgPeng1->show();
        imgPeng2->hide();
        PengTickCount = 0;
    }
    // The jog steps, unless the operator is typing one or the box already says it.
    jogStepYEcho_.refresh(rec().JogStepY);
    jogStepXEcho_.refresh(rec().JogStepX);
    if (st().Online == 1) showPositions();
    showSizeDisplay();
    if (LabelScanKeeps->isVisibleTo(this) != (st().ScanMode == 2))
        LabelScanKeeps->setVisible(st().ScanMode == 2);
}

void SetupScanPage::showPositions() {
    const MotorStatusReadout& last = st().LastMotorStatus;
    for (int n = 1; n <= 8; ++n) {
        if (rec().MotorEnabled[n - 1] != 1) continue;
        QLineEdit* box = n == 1 ? Edit123 : n == 2 ? Edit122 : motorRow[n - 3].position;
        StageLamp* ccw = n == 1 ? imgCCW1 : n == 2 ? imgCCW2 : motorRow[n - 3].ccw;
        StageLamp* cw = n == 1 ? imgCW1 : n == 2 ? imgCW2 : motorRow[n - 3].cw;
        bool ok = false;
        const double position = stage_.ReadMotorPosition(n - 1, &ok);
        // A failed read (reported in the status bar) leaves the last position shown.
        if (ok) box->setText(formatPosition(position));
        setBoxColour(box, last.busy == 1 ? QColor(Qt::yellow) : QColor(Qt::white));
        ccw->setLit(last.ccw == 1);
        cw->setLit(last.cw == 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Map ROI slots

void SetupScanPage::roiCheckClick(int slot) {
    rec().MapRoiEnabled[slot] = mapRoiCheck[slot]->isChecked() ? 1 : 0;
}

void SetupScanPage::roiKindChange(int slot) { rec().MapRoiKind[slot] = mapRoiKind[slot]->currentIndex(); }

void SetupScanPage::roiNameChange(int slot) {
    // A name longer than its 32-byte slot is cut on a character boundary.
    storeSjis(rec().MapRoiElementName[slot], mapRoiName[slot]->text());
}

#define QOR_MAP_ROI_HANDLERS(check, combo, edit, slot)                  \
    void SetupScanPage::check##Click() { roiCheckClick(slot); }      \
    void SetupScanPage::combo##Change() { roiKindChange(slot); }     \
    void SetupScanPage::edit##Change() { roiNameChange(slot); }
QOR_MAP_ROI_HANDLERS(CheckBox22, ComboBox15, Edit54, 0)
QOR_MAP_ROI_HANDLERS(CheckBox25, ComboBox16, Edit55, 1)
QOR_MAP_ROI_HANDLERS(CheckBox26, ComboBox17, Edit56, 2)
QOR_MAP_ROI_HANDLERS(CheckBox29, ComboBox18, Edit57, 3)
QOR_MAP_ROI_HANDLERS(CheckBox30, ComboBox19, Edit58, 4)
QOR_MAP_ROI_HANDLERS(CheckBox31, ComboBox20, Edit59, 5)
QOR_MAP_ROI_HANDLERS(CheckBox32, ComboBox21, Edit60, 6)
QOR_MAP_ROI_HANDLERS(CheckBox33, ComboBox22, Edit61, 7)
QOR_MAP_ROI_HANDLERS(CheckBox34, ComboBox23, Edit62, 8)
QOR_MAP_ROI_HANDLERS(CheckBox35, ComboBox24, Edit63, 9)
QOR_MAP_ROI_HANDLERS(CheckBox36, ComboBox25, Edit64, 10)
QOR_MAP_ROI_HANDLERS(CheckBox37, ComboBox26, Edit65, 11)
QOR_MAP_ROI_HANDLERS(CheckBox38, ComboBox27, Edit66, 12)
QOR_MAP_ROI_HANDLERS(CheckBox39, ComboBox28, Edit67, 13)
QOR_MAP_ROI_HANDLERS(CheckBox40, ComboBox29, Edit68, 14)
QOR_MAP_ROI_HANDLERS(CheckBox41, ComboBox30, Edit69, 15)
QOR_MAP_ROI_HANDLERS(CheckBox42, ComboBox31, Edit70, 16)
QOR_MAP_ROI_HANDLERS(CheckBox43, ComboBox32, Edit71, 17)
QOR_MAP_ROI_HANDLERS(CheckBox44, ComboBox33, Edit72, 18)
QOR_MAP_ROI_HANDLERS(CheckBox45, ComboBox34, Edit73, 19)
#undef QOR_MAP_ROI_HANDLERS

// ---------------------------------------------------------------------------------------------
// Scan parameters

void SetupScanPage::showOnOtherPage(const char* boxName, double value) {
    QWidget* top = window();
    if (!top || top == this) return;
    if (auto* box = top->findChild<QLineEdit*>(QString::fromLatin1(boxName)))
        box->setText(formatGeneral(value));
}

void SetupScanPage::Edit74Change() { storeInt(Edit74->text(), rec().ScanXSpeedPps); }

void SetupScanPage::Edit75Change() {
    storeInt(Edit75->text(), rec().ScanXPixelPulses);
    if (deriveXStep(rec())) {
        showOnOtherPage("Edit132", rec().ScanXStart);
        showOnOtherPage("Edit134", rec().ScanXStep);
        showOnOtherPage("Edit133", rec().ScanXEnd);
    }
}

void SetupScanPage::Edit76Chang() {
    storeInt(Edit76->text(), rec().ScanYPixelPulses);
    if (deriveYRange(rec())) {
        showOnOtherPage("Edit129", rec().ScanYStart);
        showOnOtherPage("Edit130", rec().ScanYEnd);
        showOnOtherPage("Edit131", rec().ScanYStep);
    }
}

void SetupScanPage::Edit77Change() {
    storeInt(Edit77->text(), rec().ScanYSteps);
    if (deriveYRange(rec())) {
        showOnOtherPage("Edit129", rec().ScanYStart);
        showOnOtherPage("Edit130", rec().ScanYEnd);
        showOnOtherPage("Edit131", rec().ScanYStep);
    }
    rec().MapPixelsY = rec().ScanYSteps;
}

void SetupScanPage::Edit78Change() {
    storeInt(Edit78->text(), rec().ScanXSteps);
    deriveXEnd(rec());
    showOnOtherPage("Edit133", rec().ScanXEnd);
    rec().MapPixelsX = rec().ScanXSteps;
}

void SetupScanPage::Edit81Change() { storeInt(Edit81->text(), rec().ScanRepeat); }

void SetupScanPage::CheckBox48Click() { rec().ScanUseZ = CheckBox48->isChecked() ? 1 : 0; }

void SetupScanPage::Edit124Change() { storeDouble(Edit124->text(), rec().ZStart); }

void SetupScanPage::Edit125Change() { storeDouble(Edit125->text(), rec().ZEnd); }

void SetupScanPage::Edit126Change() {
    // Showing the count runs its handler, which snaps the step to range / count; the exchange
    // stops once neither text changes any more.
    if (zStepTyped(rec(), Edit126->text())) Edit127->setText(QString::number(rec().ZCount));
}

void SetupScanPage::Edit127Change() {
    if (zCountTyped(rec(), Edit127->text())) Edit126->setText(formatGeneral(rec().ZStep));
}

void SetupScanPage::showScanMethodPicture() {
    scanm1->setVisible(rec().ScanMethod == 0);
    scanm2->setVisible(rec().ScanMethod != 0);
}

void SetupScanPage::smSelectChange() {
    rec().ScanMethod = smSelect->currentIndex();
    showScanMethodPicture();
}

void SetupScanPage::Edit153Change() { storeInt(Edit153->text(), rec().XBacklashPulses); }

void SetupScanPage::Edit154Change() { storeInt(Edit154->text(), rec().YBacklashPulses); }

void SetupScanPage::ComboBox35Change() {
    rec().MapChannelIndex = ComboBox35->currentIndex();
    if (mapChannelSizeDiffers(rec()))
        svc().alerts.message(QStringLiteral("MCA測定と二次元SCAN時のMCAサイズが異なっています。"));
}

void SetupScanPage::showSizeDisplay() {
    const ScanSizeTexts t = scanSizeTexts(rec());
    Label97->setText(t.pointsX);
    Label99->setText(t.pointsY);
    Label92->setText(t.sizeX);
    Label94->setText(t.sizeY);
}

// ---------------------------------------------------------------------------------------------
// Stage values

void SetupScanPage::Edit79Change() {
    const bool parsed = parseLeadingDouble(Edit79->text(), rec().JogStepY);
    jogStepYEcho_.stored(parsed, rec().JogStepY);
}
void SetupScanPage::Edit80Change() {
    const bool parsed = parseLeadingDouble(Edit80->text(), rec().JogStepX);
    jogStepXEcho_.stored(parsed, rec().JogStepX);
}

void SetupScanPage::Edit84Change() { storeDouble(Edit84->text(), rec().MotorSetPos[2]); }
void SetupScanPage::Edit89Change() { storeDouble(Edit89->text(), rec().MotorSetPos[3]); }
void SetupScanPage::Edit94Change() { storeDouble(Edit94->text(), rec().MotorSetPos[4]); }
void SetupScanPage::Edit99Change() { storeDouble(Edit99->text(), rec().MotorSetPos[5]); }
void SetupScanPage::Edit104Change() { storeDouble(Edit104->text(), rec().MotorSetPos[6]); }
void SetupScanPage::Edit109Change() { storeDouble(Edit109->text(), rec().MotorSetPos[7]); }

void SetupScanPage::Edit85Change() { storeDouble(Edit85->text(), rec().MotorGotoPos[2]); }
void SetupScanPage::Edit90Change() { storeDouble(Edit90->text(), rec().MotorGotoPos[3]); }
void SetupScanPage::Edit95Change() { storeDouble(Edit95->text(), rec().MotorGotoPos[4]); }
void SetupScanPage::Edit100Change() { storeDouble(Edit100->text(), rec().MotorGotoPos[5]); }
void SetupScanPage::Edit105Change() { storeDouble(Edit105->text(), rec().MotorGotoPos[6]); }
void SetupScanPage::Edit110Change() { storeDouble(Edit110->text(), rec().MotorGotoPos[7]); }

void SetupScanPage::Edit86Change() { storeDouble(Edit86->text(), rec().MotorJogStep[2]); }
void SetupScanPage::Edit91Change() { storeDouble(Edit91->text(), rec().MotorJogStep[3]); }
void SetupScanPage::Edit96Change() { storeDouble(Edit96->text(), rec().MotorJogStep[4]); }
void SetupScanPage::Edit101Change() { storeDouble(Edit101->text(), rec().MotorJogStep[5]); }
void SetupScanPage::Edit106Change() { storeDouble(Edit106->text(), rec().MotorJogStep[6]); }
void SetupScanPage::Edit111Change() { storeDouble(Edit111->text(), rec().MotorJogStep[7]); }

// ---------------------------------------------------------------------------------------------
// Sound help and the picture button

void SetupScanPage::SpeedButton35Click() { svc().sounds.play(QStringLiteral("roiset2dscan.wav")); }
void SetupScanPage::SpeedButton21Click() { svc().sounds.play(QStringLiteral("PenEdit74.wav")); }
void SetupScanPage::SpeedButton22Click() { svc().sounds.play(QStringLiteral("PenEdit75.wav")); }
void SetupScanPage::SpeedButton23Click() { svc().sounds.play(QStringLiteral("PenEdit76.wav")); }
void SetupScanPage::SpeedButton24Click() { svc().sounds.play(QStringLiteral("PenEdit77.wav")); }
void SetupScanPage::SpeedButton30Click() { svc().sounds.play(QStringLiteral("PenEdit78.wav")); }
void SetupScanPage::SpeedButton33Click() { svc().sounds.play(QStringLiteral("PenEdit81.wav")); }
void SetupScanPage::SpeedButton32Click() { svc().sounds.play(QStringLiteral("kokoButton.wav")); }
void SetupScanPage::Button25Click() { svc().sounds.play(QStringLiteral("GentenChosei.wav")); }

void SetupScanPage::imgPeng1Click() {
    imgPeng1->hide();
    imgPeng2->show();
    const int second = svc().clock.localDateTime().time().second();
    svc().sounds.play(QStringLiteral("ss%1.wav").arg(second % 10));
}

// ---------------------------------------------------------------------------------------------
// Stage commands

void SetupScanPage::connectStageButtons() {
    using P = SetupScanPage;
    struct Binding {
        QPushButton* button;
        void (P::*handler)();
    };
    const Binding bindings[] = {
        {Button26, &P::Button26Click}, {Button27, &P::Button27Click}, {Button28, &P::Button28Click},
        {Button29, &P::Button29Click}, {Button30, &P::Button30Click}, {Button31, &P::Button31Click},
        {Button32, &P::Button32Click}, {Button33, &P::Button33Click}, {Button34, &P::Button34Click},
        {Button35, &P::Button35Click}, {Button36, &P::Button36Click}, {Button37, &P::Button37Click},
        {Button38, &P::Button38Click}, {Button39, &P::Button39Click}, {Button40, &P::Button40Click},
        {Button41, &P::Button41Click}, {Button42, &P::Button42Click}, {Button43, &P::Button43Click},
        {Button44, &P::Button44Click}, {Button45, &P::Button45Click}, {Button46, &P::Button46Click},
        {Button47, &P::Button47Click}, {Button48, &P::Button48Click}, {Button49, &P::Button49Click},
        {Button50, &P::Button50Click}, {Button51, &P::Button51Click}, {Button52, &P::Button52Click},
        {Button53, &P::Button53Click}, {Button54, &P::Button54Click}, {Button55, &P::Button55Click},
        {Button56, &P::Button56Click}, {Button57, &P::Button57Click}, {Button58, &P::Button58Click},
        {Button59, &P::Button59Click}, {Button60, &P::Button60Click}, {Button61, &P::Button61Click},
    };
    for (const Binding& b : bindings) connect(b.button, &QPushButton::clicked, this, b.handler);
}

// X is motor #1, Y motor #2.
void SetupScanPage::Button29Click() { stage_.jog(1, -rec().JogStepX); }
void SetupScanPage::Button28Click() { stage_.jog(1, rec().JogStepX); }
void SetupScanPage::Button27Click() { stage_.jog(2, -rec().JogStepY); }
void SetupScanPage::Button26Click() { stage_.jog(2, rec().JogStepY); }

void SetupScanPage::Button30Click() {
    if (stage_.scanLocks(1, 2)) return;
    stage_.halt(1);
    stage_.halt(2);
}

void SetupScanPage::Button31Click() {
    if (stage_.scanLocks(1, 2)) return;
    stage_.setCounterZero(1);
    stage_.setCounterZero(2);
}

// One row per motor n = 3 .. 8: EDIT, GOTO, ◀, STOP, ▶.
#define QOR_MOTOR_ROW_HANDLERS(n, edit, go, left, stop, right)                                 \
    void SetupScanPage::edit##Click() { stage_.setCounter(n, rec().MotorSetPos[n - 1]); }     \
    void SetupScanPage::go##Click() { stage_.moveTo(n, rec().MotorGotoPos[n - 1]); }          \
    void SetupScanPage::left##Click() { stage_.jog(n, -rec().MotorJogStep[n - 1]); }          \
    void SetupScanPage::stop##Click() { stage_.halt(n); }                                     \
    void SetupScanPage::right##Click() { stage_.jog(n, rec().MotorJogStep[n - 1]); }
QOR_MOTOR_ROW_HANDLERS(3, Button32, Button33, Button34, Button35, Button36)
QOR_MOTOR_ROW_HANDLERS(4, Button37, Button38, Button39, Button40, Button41)
QOR_MOTOR_ROW_HANDLERS(5, Button42, Button43, Button44, Button45, Button46)
QOR_MOTOR_ROW_HANDLERS(6, Button47, Button48, Button49, Button50, Button51)
QOR_MOTOR_ROW_HANDLERS(7, Button52, Button53, Button54, Button55, Button56)
QOR_MOTOR_ROW_HANDLERS(8, Button57, Button58, Button59, Button60, Button61)
#undef QOR_MOTOR_ROW_HANDLERS

}  // namespace qor
