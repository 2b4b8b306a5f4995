#include "spectrum/McaPage.h"

#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "spectrum/LineMarkers.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SlotArithmetic.h"
#include "spectrum/McaPageKeys.h"
#include "spectrum/SpectrumKeys.h"
#include "spectrum/TimeFigures.h"
#include "spectrum/SpectrumView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qor {

namespace {

constexpr int kMargin = 2;   // spectrum area's distance from the page's top-left corner
constexpr int kGap = 4;      // between the spectrum area and the panels

const QStringList kSlotItems = {QStringLiteral("MCA1"), QStringLiteral("MCA2"),
                                QStringLiteral("WORK")};

// The channel counts of the MCA channel-size items "256ch".."4096ch".
constexpr int32_t kChannelItems[5] = {256, 512, 1024, 2048, 4096};

QComboBox* makeSlotCombo(QWidget* parent, const char* name, int index) {
    // A fixed list (never an empty or typed selection), so every operation has a valid slot.
    QComboBox* c = makeCombo(parent, name, kSlotItems, false);
    c->setCurrentIndex(index);
    c->setFixedWidth(64);
    return c;
}

QLineEdit* makeDisplay(QWidget* parent, const char* name, int width) {
    QLineEdit* e = makeEdit(parent, name, width);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    return e;
}

// A push button just as wide as its caption needs (the style's default minimum is wider).
void compactWidth(QPushButton* b) {
    b->setFixedWidth(std::max(34, b->fontMetrics().horizontalAdvance(b->text()) + 20));
}

}  // namespace

McaPage::McaPage(PageContext ctx, QWidget* parent) : Page(ctx, parent) {
    PaintBox1 = named(new PaintBox(this), "PaintBox1");
    PaintBox1->setCursor(Qt::CrossCursor);
    for (QLabel** l : {&FileComment1, &FileComment2}) {
        *l = makeLabel(PaintBox1, QString(), l == &FileComment1 ? "FileComment1" : "FileComment2");
        (*l)->setAttribute(Qt::WA_TransparentForMouseEvents);   // clicks reach the plot
        (*l)->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160); background: transparent;"));
    }
    glyphs_ = std::make_unique<GlyphAtlas>(QFont());
    plot_ = std::make_unique<SpectrumPlot>(glyphs_.get());
    buildPanel2();
    buildPanel3();
    connectHandlers();
    connectAnalysisHandlers();
    PaintBox1->setFocusPolicy(Qt::StrongFocus);
    installMcaPageKeys(*this);
}

McaPage::~McaPage() = default;

// ---------------------------------------------------------------------------------------------
// Controls

void McaPage::buildPanel2() {
    Panel2 = named(new QFrame(this), "Panel2");
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFixedWidth(kPanel2Width);
    auto* col = new QVBoxLayout(Panel2);
    col->setContentsMargins(4, 4, 4, 4);
    col->setSpacing(4);

    // MCA control.
    GroupBoxMca = makeGroup(Panel2, "GroupBoxMca", QStringLiteral("接続MCA"));
    {
        auto* g = new QVBoxLayout(GroupBoxMca);
        g->setContentsMargins(6, 4, 6, 4);
        g->setSpacing(3);
        CheckBox13 = makeCheck(GroupBoxMca, "CheckBox13", QStringLiteral("MCA1 "));
        CheckBox13->setChecked(true);  // design state; the record does not restore it
        CheckBox14 = makeCheck(GroupBoxMca, "CheckBox14", QStringLiteral("MCA2 "));
        ComboBox1 = makeCombo(GroupBoxMca, "ComboBox1",
                              {QStringLiteral("Live"), QStringLiteral("Real")});
        ComboBox1->setCurrentIndex(0);
        ComboBox3 = makeCombo(GroupBoxMca, "ComboBox3",
                              {QStringLiteral("256ch"), QStringLiteral("512ch"),
                               QStringLiteral("1024ch"), QStringLiteral("2048ch"),
                               QStringLiteral("4096ch")});
        ComboBox3->setCurrentIndex(3);
        Edit14 = makeEdit(GroupBoxMca, "Edit14");
        Button5 = makeButton(GroupBoxMca, "Button5", QStringLiteral("START"));
        Button4 = makeButton(GroupBoxMca, "Button4", QStringLiteral("STOP"));
        Button3 = makeButton(GroupBoxMca, "Button3", QStringLiteral("CLEAR"));
        auto* r0 = new QHBoxLayout;
        r0->addWidget(CheckBox13);
        r0->addWidget(CheckBox14);
        r0->addStretch(1);
        auto* r1 = new QHBoxLayout;
        r1->addWidget(makeLabel(GroupBoxMca, QStringLiteral("Mode")));
        r1->addWidget(ComboBox1, 1);
        r1->addWidget(ComboBox3, 1);
        auto* r2 = new QHBoxLayout;
        r2->addWidget(makeLabel(GroupBoxMca, QStringLiteral("Preset value")));
        r2->addWidget(Edit14, 1);
        PresetSeconds = makeLabel(GroupBoxMca, QString(), "PresetSeconds");
        PresetSeconds->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PresetSeconds->setMinimumWidth(1);
        auto* r2s = new QHBoxLayout;
        r2s->addWidget(PresetSeconds, 1);
        auto* r3 = new QHBoxLayout;
        r3->setSpacing(3);
        for (auto* b : {Button5, Button4, Button3}) {
            b->setMinimumWidth(0);
            r3->addWidget(b);
        }
        Button5->setToolTip(QStringLiteral("測定開始 [F5]"));
        Button4->setToolTip(QStringLiteral("測定停止 [F6]"));
        for (auto* l : {r0, r1, r2, r2s, r3}) g->addLayout(l);
    }
    col->addWidget(GroupBoxMca);

    // AUTO COLLECT: settings kept in the record; its two buttons start nothing.
    GroupBoxAuto = makeGroup(Panel2, "GroupBoxAuto", QStringLiteral("AUTO COLLECT"));
    {
        auto* g = new QGridLayout(GroupBoxAuto);
        g->setContentsMargins(6, 4, 6, 4);
        g->setVerticalSpacing(3);
        Edit15 = makeEdit(GroupBoxAuto, "Edit15");
        Edit15->setReadOnly(true);
        Edit21 = makeEdit(GroupBoxAuto, "Edit21");
        Edit22 = makeEdit(GroupBoxAuto, "Edit22", 64);
        ComboBox4 = makeCombo(GroupBoxAuto, "ComboBox4",
                              {QStringLiteral("LIVE"), QStringLiteral("REAL")});
        ComboBox4->setCurrentIndex(0);
        CheckBox23 = makeCheck(GroupBoxAuto, "CheckBox23", QStringLiteral("1"));
        CheckBox24 = makeCheck(GroupBoxAuto, "CheckBox24", QStringLiteral("2"));
        CheckBox27 = makeCheck(GroupBoxAuto, "CheckBox27", QStringLiteral("CSV形式"));
        CheckBox28 = makeCheck(GroupBoxAuto, "CheckBox28", QStringLiteral("Binary形式"));
        CheckBox49 = makeCheck(GroupBoxAuto, "CheckBox49", QStringLiteral("CSV Head"));
        Button6 = makeButton(GroupBoxAuto, "Button6", QStringLiteral("自動測定開始"));
        Button13 = makeButton(GroupBoxAuto, "Button13", QStringLiteral("中止"));
        g->addWidget(Edit15, 0, 0, 1, 4);
        g->addWidget(makeLabel(GroupBoxAuto, QStringLiteral("File name")), 1, 0);
        g->addWidget(Edit21, 1, 1, 1, 3);
        g->addWidget(makeLabel(GroupBoxAuto, QStringLiteral("測定回数")), 2, 0);
        g->addWidget(Edit22, 2, 1);
        g->addWidget(ComboBox4, 2, 2, 1, 2);
        auto* mcas = new QHBoxLayout;
        mcas->setSpacing(4);
        mcas->addWidget(makeLabel(GroupBoxAuto, QStringLiteral("MCA#")));
        mcas->addWidget(CheckBox23);
        mcas->addWidget(CheckBox24);
        mcas->addStretch(1);
        g->addLayout(mcas, 3, 0, 1, 2);
        g->addWidget(CheckBox49, 3, 2, 1, 2);
        g->addWidget(CheckBox27, 4, 0, 1, 2);
        g->addWidget(CheckBox28, 4, 2, 1, 2);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(3);
        buttons->addWidget(Button6, 2);
        buttons->addWidget(Button13, 1);
        g->addLayout(buttons, 5, 0, 1, 4);
    }
    col->addWidget(GroupBoxAuto);

    // Spectrum control.
    GroupBoxSpectrum = makeGroup(Panel2, "GroupBoxSpectrum", QStringLiteral("Spectrum control"));
    {
        auto* g = new QGridLayout(GroupBoxSpectrum);
        g->setContentsMargins(6, 4, 6, 4);
        g->setSpacing(3);
        QWidget* p = GroupBoxSpectrum;
        SpeedButton1 = makeSpeedButton(p, "SpeedButton1", QStringLiteral("X＋"),
                                       QStringLiteral("カーソル位置をＸ軸方向に拡大  [+]"));
        SpeedButton2 = makeSpeedButton(p, "SpeedButton2", QStringLiteral("X－"),
                                       QStringLiteral("カーソル中心にＸ軸を縮小  [-]"));
        SpeedButton12 = makeSpeedButton(p, "SpeedButton12", QStringLiteral("◀◀"),
                                        QStringLiteral("左がわのスペクトルを見る"));
        SpeedButton13 = makeSpeedButton(p, "SpeedButton13", QStringLiteral("▶▶"),
                                        QStringLiteral("右側のスペクトルを見る"));
        SpeedButton43 = makeSpeedButton(p, "SpeedButton43", QStringLiteral("◀"),
                                        QStringLiteral("カーソルを1チャンネル左へ  [←] (Shift: 10ch)  [Home]"));
        SpeedButton44 = makeSpeedButton(p, "SpeedButton44", QStringLiteral("▶"),
                                        QStringLiteral("カーソルを1チャンネル右へ  [→] (Shift: 10ch)  [End]"));
        SpeedButton3 = makeSpeedButton(p, "SpeedButton3", QStringLiteral("Y＋"),
                                       QStringLiteral("リニアスケールでスペクトルを上げる"));
        SpeedButton6 = makeSpeedButton(p, "SpeedButton6", QStringLiteral("Y－"),
                                       QStringLiteral("リニアスケールでスペクトルを下げる"));
        SpeedButton4 = makeSpeedButton(p, "SpeedButton4", QStringLiteral("LOG"),
                                       QStringLiteral("ＬＯＧ表示にする"));
        SpeedButton5 = makeSpeedButton(p, "SpeedButton5", QStringLiteral("╱∴"),
                                       QStringLiteral("ライン表示ドット表示切替"));
        SpeedButton25 = makeSpeedButton(p, "SpeedButton25", QStringLiteral("重"),
                                        QStringLiteral("オーバーラップ表示設定"));
        SpeedButton45 = makeSpeedButton(p, "SpeedButton45", QStringLiteral("色"),
                                        QStringLiteral("ROI 対 scanPha 軸"));
        SpeedButton45->setEnabled(false);
        SpeedButton31 = makeSpeedButton(p, "SpeedButton31", QStringLiteral("→W"),
                                        QStringLiteral("スペクトル→ＷＯＲＫ"));
        SpeedButton7 = makeSpeedButton(p, "SpeedButton7", QStringLiteral("■"),
                                       QStringLiteral("スペクトル全体をぬりつぶす"));
        SpeedButton7->setEnabled(false);
        SpeedButton11 = makeSpeedButton(p, "SpeedButton11", QStringLiteral("元"),
                                        QStringLiteral("元素名表示のＯＮ／ＯＦＦ"));
        SpeedButton11->setEnabled(false);
        QToolButton* rows[3][6] = {
            {SpeedButton1, SpeedButton2, SpeedButton12, SpeedButton13, SpeedButton43,
             SpeedButton44},
            {SpeedButton3, SpeedButton6, SpeedButton4, SpeedButton5, SpeedButton25,
             SpeedButton45},
            {SpeedButton31, SpeedButton7, SpeedButton11, nullptr, nullptr, nullptr}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 6; ++c)
                if (rows[r][c]) {
                    rows[r][c]->setMinimumSize(34, 26);
                    g->addWidget(rows[r][c], r, c);
                }
    }
    col->addWidget(GroupBoxSpectrum);

    RadioGroup1 = new RadioGroup(Panel2, "RadioGroup1", QStringLiteral("View"), kSlotItems, 3);
    RadioGroup1->setItemIndex(0);
    col->addWidget(RadioGroup1);

    SButton10 = makeButton(Panel2, "SButton10", QStringLiteral("音声"));
    SButton10->setCheckable(true);
    auto* sound = new QHBoxLayout;
    sound->addStretch(1);
    sound->addWidget(SButton10);
    col->addLayout(sound);
    col->addStretch(1);
}

void McaPage::buildPanel3() {
    Panel3 = named(new QFrame(this), "Panel3");
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setFixedHeight(kPanel3Height);
    auto* row = new QHBoxLayout(Panel3);
    row->setContentsMargins(3, 2, 3, 2);
    row->setSpacing(4);

    // ROI group.
    GroupBoxRoi = makeGroup(Panel3, "GroupBoxRoi", QStringLiteral("ROI"));
    {
        QWidget* p = GroupBoxRoi;
        auto* g = new QVBoxLayout(p);
        g->setContentsMargins(5, 2, 5, 3);
        g->setSpacing(3);
        Edit17 = makeEdit(p, "Edit17", 40);
        Edit17->setText(QStringLiteral("1"));
        Edit17->setAlignment(Qt::AlignRight);
        QFont bold = Edit17->font();
        bold.setBold(true);
        Edit17->setFont(bold);
        QPalette red = Edit17->palette();
        red.setColor(QPalette::Text, QColor(255, 0, 0));
        Edit17->setPalette(red);
        Button7 = makeButton(p, "Button7", QStringLiteral("▲"));
        Button8 = makeButton(p, "Button8", QStringLiteral("▼"));
        for (auto* b : {Button7, Button8}) b->setFixedWidth(28);
        Edit18 = makeDisplay(p, "Edit18", 52);
        Edit19 = makeDisplay(p, "Edit19", 52);
        Edit25 = makeEdit(p, "Edit25", 22);
        Edit25->setReadOnly(true);
        Edit25->setFocusPolicy(Qt::NoFocus);
        SpeedButton39 = makeSpeedButton(p, "SpeedButton39", QStringLiteral("◁▷"),
                                        QStringLiteral("ROIを両側に1チャンネル広げる"));
        SpeedButton40 = makeSpeedButton(p, "SpeedButton40", QStringLiteral("▷◁"),
                                        QStringLiteral("ROIを両側から1チャンネル狭める"));
        SpeedButton41 = makeSpeedButton(p, "SpeedButton41", QStringLiteral("◁◁"),
                                        QStringLiteral("ROIを1チャンネル左へ移す"));
        SpeedButton42 = makeSpeedButton(p, "SpeedButton42", QStringLiteral("▷▷"),
                                        QStringLiteral("ROIを1チャンネル右へ移す"));
        Edit23 = makeDisplay(p, "Edit23", 70);
        Edit24 = makeDisplay(p, "Edit24", 70);
        Button9 = makeButton(p, "Button9", QStringLiteral("SET"));
        Button10 = makeButton(p, "Button10", QStringLiteral("CLR"));
        Button11 = makeButton(p, "Button11", QStringLiteral("All Clear"));
        Button15 = makeButton(p, "Button15", QStringLiteral("CallROI"));
        Button12 = makeButton(p, "Button12", QStringLiteral("JUMP"));

        auto* r0 = new QHBoxLayout;
        r0->setSpacing(3);
        r0->addWidget(Edit17);
        r0->addWidget(Button7);
        r0->addWidget(Button8);
        r0->addSpacing(8);
        r0->addWidget(Edit18);
        r0->addWidget(makeLabel(p, QStringLiteral("to")));
        r0->addWidget(Edit19);
        r0->addWidget(Edit25);
        r0->addStretch(1);
        auto* r1 = new QHBoxLayout;
        r1->setSpacing(3);
        for (auto* b : {SpeedButton39, SpeedButton40, SpeedButton41, SpeedButton42}) {
            b->setFixedSize(28, 24);
            r1->addWidget(b);
        }
        r1->addSpacing(4);
        r1->addWidget(makeLabel(p, QStringLiteral("NET")));
        r1->addWidget(Edit23);
        r1->addWidget(makeLabel(p, QStringLiteral("GRS")));
        r1->addWidget(Edit24);
        r1->addStretch(1);
        auto* r2 = new QHBoxLayout;
        r2->setSpacing(3);
        for (auto* b : {Button9, Button10, Button11, Button15, Button12}) {
            compactWidth(b);
            r2->addWidget(b);
        }
        r2->addStretch(1);
        g->addLayout(r0);
        g->addLayout(r1);
        g->addLayout(r2);
    }
    row->addWidget(GroupBoxRoi);

    // Analysis commands (their work lives with the analysis).
    GroupBoxAnalysis = makeGroup(Panel3, "GroupBoxAnalysis", QStringLiteral("定性処理"));
    {
        QWidget* p = GroupBoxAnalysis;
        auto* g = new QGridLayout(p);
        g->setContentsMargins(5, 2, 5, 3);
        g->setSpacing(3);
        SpeedButton26 = makeSpeedButton(p, "SpeedButton26", QStringLiteral("自"),
                                        QStringLiteral("自動でピークを設定します"));
        SpeedButton27 = makeSpeedButton(p, "SpeedButton27", QStringLiteral("近"),
                                        QStringLiteral("カーソルに近いピークを探して、ROIを設定する"));
        SpeedButton29 = makeSpeedButton(p, "SpeedButton29", QStringLiteral("半"),
                                        QStringLiteral("カーソルに近いピークの半値幅を計算する"));
        SpeedButton28 = makeSpeedButton(p, "SpeedButton28", QStringLiteral("滑"),
                                        QStringLiteral("スムージング処理をする"));
        SpeedButton10 = makeSpeedButton(p, "SpeedButton10", QStringLiteral("↺"),
                                        QStringLiteral("記録したエネルギー校正用のROI#1..8を読み出す"));
        SpeedButton14 = makeSpeedButton(p, "SpeedButton14", QStringLiteral("⇩"),
                                        QStringLiteral("ROI#1..8をエネルギー校正用として記録する"));
        SpeedButton8 = makeSpeedButton(p, "SpeedButton8", QStringLiteral("keV"),
                                       QStringLiteral("エネルギー校正を行う"));
        SpeedButton9 = makeSpeedButton(p, "SpeedButton9", QStringLiteral("⚙"),
                                       QStringLiteral("定性処理のパラメータを設定する"));
        QToolButton* order[8] = {SpeedButton26, SpeedButton27, SpeedButton29, SpeedButton28,
                                 SpeedButton10, SpeedButton14, SpeedButton8,  SpeedButton9};
        for (int i = 0; i < 8; ++i) {
            order[i]->setFixedSize(34, 26);
            g->addWidget(order[i], i / 2, i % 2);
        }
        UndoAutoRoi = makeSpeedButton(p, "UndoAutoRoi", QStringLiteral("↶"),
                                      QStringLiteral("「自」で置き換える前のROI表に戻す (Ctrl+Z)"));
        UndoAutoRoi->setFixedSize(34, 26);
        UndoAutoRoi->setEnabled(false);
        g->addWidget(UndoAutoRoi, 4, 0);
        g->setRowStretch(5, 1);
    }
    row->addWidget(GroupBoxAnalysis);

    // Spectrum move and arithmetic between slots.
    GroupBoxMove = makeGroup(Panel3, "GroupBoxMove",
                             QStringLiteral(" スペクトル移動 、スペクトル間演算"));
    {
        QWidget* p = GroupBoxMove;
        auto* g = new QGridLayout(p);
        g->setContentsMargins(5, 2, 5, 3);
        g->setHorizontalSpacing(3);
        g->setVerticalSpacing(6);
        CbBOXsorce = makeSlotCombo(p, "CbBOXsorce", 0);
        CbBOXdist = makeSlotCombo(p, "CbBOXdist", kSlotWork);
        Button14 = makeButton(p, "Button14", QStringLiteral("COPY"));
        CBanser = makeSlotCombo(p, "CBanser", kSlotWork);
        CB1 = makeSlotCombo(p, "CB1", 0);
        CBop = makeCombo(p, "CBop",
                         {QStringLiteral("＋"), QStringLiteral("－"), QStringLiteral("×"),
                          QStringLiteral("÷")});
        CBop->setCurrentIndex(1);
        CBop->setFixedWidth(46);
        CB2 = makeSlotCombo(p, "CB2", 1);
        compute = makeButton(p, "compute", QStringLiteral("演算"));
        compactWidth(Button14);
        compactWidth(compute);
        g->addWidget(CbBOXsorce, 0, 0);
        g->addWidget(makeLabel(p, QStringLiteral("を")), 0, 1);
        g->addWidget(CbBOXdist, 0, 2);
        g->addWidget(makeLabel(p, QStringLiteral("へ")), 0, 3);
        g->addWidget(Button14, 0, 4);
        g->addWidget(CBanser, 1, 0);
        g->addWidget(makeLabel(p, QStringLiteral("=")), 1, 1);
        g->addWidget(CB1, 1, 2);
        g->addWidget(CBop, 1, 3);
        g->addWidget(CB2, 1, 4);
        g->addWidget(compute, 2, 4);
        g->setRowStretch(3, 1);
    }
    row->addWidget(GroupBoxMove);
    row->addStretch(1);
}

void McaPage::connectHandlers() {
    connect(CheckBox13, &QCheckBox::toggled, this, &McaPage::CheckBox13Click);
    connect(CheckBox14, &QCheckBox::toggled, this, &McaPage::CheckBox14Click);
    connect(ComboBox1, &QComboBox::activated, this, &McaPage::ComboBox1Change);
    connect(ComboBox3, &QComboBox::activated, this, &McaPage::ComboBox3Change);
    connect(Edit14, &QLineEdit::textChanged, this, &McaPage::Edit14Change);

    connect(CheckBox23, &QCheckBox::toggled, this, &McaPage::CheckBox23Click);
    connect(CheckBox24, &QCheckBox::toggled, this, &McaPage::CheckBox24Click);
    connect(CheckBox27, &QCheckBox::toggled, this, &McaPage::CheckBox27Click);
    connect(CheckBox28, &QCheckBox::toggled, this, &McaPage::CheckBox28Click);
    connect(CheckBox49, &QCheckBox::toggled, this, &McaPage::CheckBox49Click);
    connect(Edit21, &QLineEdit::textChanged, this, &McaPage::Edit21Change);
    connect(Edit22, &QLineEdit::textChanged, this, &McaPage::Edit22Change);

    connect(SpeedButton1, &QToolButton::clicked, this, &McaPage::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &McaPage::SpeedButton2Click);
    connect(Button5, &QPushButton::clicked, this, &McaPage::Button5Click);
    connect(Button4, &QPushButton::clicked, this, &McaPage::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &McaPage::Button3Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &McaPage::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &McaPage::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &McaPage::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &McaPage::SpeedButton6Click);
    connect(SpeedButton12, &QToolButton::clicked, this, &McaPage::SpeedButton12Click);
    connect(SpeedButton13, &QToolButton::clicked, this, &McaPage::SpeedButton13Click);
    connect(SpeedButton25, &QToolButton::clicked, this, &McaPage::SpeedButton25Click);
    connect(SpeedButton31, &QToolButton::clicked, this, &McaPage::SpeedButton31Click);
    connect(SpeedButton43, &QToolButton::clicked, this, &McaPage::SpeedButton43Click);
    connect(SpeedButton44, &QToolButton::clicked, this, &McaPage::SpeedButton44Click);
    connect(SpeedButton45, &QToolButton::clicked, this, &McaPage::SpeedButton45Click);
    connect(RadioGroup1, &RadioGroup::itemClicked, this, &McaPage::RadioGroup1Click);
    connect(PaintBox1, &PaintBox::mousePressed, this,
            [this](int x, int y, Qt::MouseButton) { PaintBox1MouseDown(x, y); });
    connect(SButton10, &QPushButton::clicked, this, &McaPage::SButton10Click);

    connect(Edit17, &QLineEdit::textChanged, this, &McaPage::Edit17Change);
    connect(Button7, &QPushButton::clicked, this, &McaPage::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &McaPage::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &McaPage::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &McaPage::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &McaPage::Button11Click);
    connect(Button12, &QPushButton::clicked, this, &McaPage::Button12Click);
    connect(Button15, &QPushButton::clicked, this, &McaPage::Button15Click);
    connect(SpeedButton39, &QToolButton::clicked, this, &McaPage::SpeedButton39Click);
    connect(SpeedButton40, &QToolButton::clicked, this, &McaPage::SpeedButton40Click);
    connect(SpeedButton41, &QToolButton::clicked, this, &McaPage::SpeedButton41Click);
    connect(SpeedButton42, &QToolButton::clicked, this, &McaPage::SpeedButton42Click);

    connect(Button14, &QPushButton::clicked, this, &McaPage::Button14Click);
    connect(compute, &QPushButton::clicked, this, &McaPage::computeClick);
}

// ---------------------------------------------------------------------------------------------
// Geometry

void McaPage::setSpectrumArea(QSize size) {
    const int w = std::max(1, size.width());
    const int h = std::max(1, size.height());
    PaintBox1->setGeometry(kMargin, kMargin, w, h);
    if (SPCImage.size() != QSize(w, h)) {
        SPCImage = QImage(w, h, QImage::Format_RGB32);
        SPCImage.fill(kViewBackground);
    }
    st().spectrum.PlotWidth = w - 1;
    st().spectrum.PlotHeight = h - 1;
    placeReadComments();
    Panel2->move(kMargin + w + kGap, kMargin);
    Panel2->resize(kPanel2Width,
                   std::max(Panel2->sizeHint().height(), h + kGap + kPanel3Height));
    Panel3->setGeometry(kMargin, kMargin + h + kGap, w, kPanel3Height);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void McaPage::fillPresetFromCurrentSlot() {
    const int slot = std::clamp<int32_t>(rec().CurrentSlot, 0, 7);
    Edit14->setText(QString::number(rec().McaPresetValue[slot]));
}

void McaPage::startupStep(int step) {
    InfoRecord& r = rec();
    switch (step) {
        case 5:
        case 11:
            fillPresetFromCurrentSlot();
            break;
        case 13: {
            Edit14->setText(QString::number(r.StartPresetValue));
            if (r.CollectMode >= 0 && r.CollectMode < ComboBox4->count())
                ComboBox4->setCurrentIndex(r.CollectMode);
            Edit15->setText(fromSjis(r.CollectName));
            for (int i = 0; i < 5; ++i)
                if (r.McaChannels[0] == kChannelItems[i]) ComboBox3->setCurrentIndex(i);
            for (int s = 0; s < 5; ++s) r.SlotViewChannels[s] = r.McaChannels[0];
            if (r.McaPresetMode[0] == 0 || r.McaPresetMode[0] == 1)
                ComboBox1->setCurrentIndex(r.McaPresetMode[0]);
            break;
        }
        case 14:
            ShowCurrentRoi();
            break;
        case 15:
            setBoxColour(Edit25, QColor(st().spectrum.RoiColour[1]));
            break;
        case 16:
            Edit22->setText(QString::number(r.CollectRepeatCount));
            CheckBox49->setChecked(r.CsvHeader != 0);
            CheckBox27->setChecked(r.SaveCsv != 0);
            CheckBox28->setChecked(r.SaveBinary != 0);
            break;
        case 18:
            Edit21->setText(fromSjis(r.CollectFileName));
            break;
        case 21:
            syncSoundSwitch();
            ShowCurrentRoi();
            DrawSpectrum();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Helpers

int McaPage::viewSlot() {
    return clampSlot(st().spectrum.ViewSlot);
}

int32_t McaPage::viewChannels() {
    return qor::viewChannels(rec().SlotViewChannels[viewSlot()]);
}

int McaPage::currentRoi() {
    return roiIndex(st().spectrum.CurrentRoi[viewSlot()]);
}

void McaPage::setTextIfChanged(QLineEdit* edit, const char* text) {
    // Compare without building a string, so that an unchanged value costs nothing.
    if (edit->text() == QLatin1String(text)) return;
    edit->setText(QString::fromLatin1(text));
}

void McaPage::showZeroRoiValues() {
    for (QLineEdit* e : {Edit18, Edit19, Edit23, Edit24}) setTextIfChanged(e, "0");
}

void McaPage::syncSoundSwitch() { SButton10->setChecked(rec().VoiceOn != 0); }

// ---------------------------------------------------------------------------------------------
// MCA control

void McaPage::CheckBox13Click() { rec().Mca1Enabled = CheckBox13->isChecked() ? 1 : 0; }

void McaPage::CheckBox14Click() { rec().Mca2Enabled = CheckBox14->isChecked() ? 1 : 0; }

void McaPage::ComboBox1Change() {
    const int mode = ComboBox1->currentIndex();
    if (mode < 0) return;
    if (CheckBox13->isChecked()) rec().McaPresetMode[0] = mode;
    if (CheckBox14->isChecked()) rec().McaPresetMode[1] = mode;
}

void McaPage::ComboBox3Change() {
    const int item = ComboBox3->currentIndex();
    if (item < 0 || item > 4) return;
    const int32_t n = kChannelItems[item];
    if (CheckBox13->isChecked()) {
        rec().McaChannels[0] = n;
        rec().SlotViewChannels[0] = n;
    }
    if (CheckBox14->isChecked()) {
        rec().McaChannels[1] = n;
        rec().SlotViewChannels[1] = n;
    }
}

void McaPage::Edit14Change() {
    if (CheckBox13->isChecked()) storeInt(Edit14->text(), rec().McaPresetValue[0]);
    showPresetReadout();
}

void McaPage::showElementScanProgress(const QString& line) {
    sweepProgress_ = line.toUtf8();
    showPresetReadout();
}

void McaPage::showPresetReadout() {
    if (!PresetSeconds) return;
    const AppState::PresetSent& sent = st().Mca1PresetSent;
    PresetReadoutInput in;
    in.boxValid = parseLeadingInt(Edit14->text(), in.boxTicks);
    in.measuring = mca1Measuring_;
    in.sentKnown = sent.known;
    in.sentBySweep = sent.sweep;
    in.sentTicks = sent.ticks;
    in.sweepProgress = sweepProgress_.constData();
    char text[64];
    const bool other = formatPresetReadout(in, text);
    if (std::strcmp(text, shownPreset_) == 0) return;
    std::memcpy(shownPreset_, text, sizeof shownPreset_);
    PresetSeconds->setText(QString::fromUtf8(text));
    // The box keeps the operator's value for the next START; the hint says what is in force.
    QString hint;
    if (other && sent.sweep) {
        hint = QStringLiteral("元素Scanの掃引中: MCA1のプリセットは %1 (%2 s)。掃引の終わりで停止します")
                   .arg(sent.ticks)
                   .arg(ticksToSeconds(sent.ticks), 0, 'f', 2);
    } else if (other) {
        hint = QStringLiteral("測定中のプリセットは %1 (%2 s)。この欄の値は次のSTARTから使われます")
                   .arg(sent.ticks)
                   .arg(ticksToSeconds(sent.ticks), 0, 'f', 2);
    }
    PresetSeconds->setToolTip(hint);
    Edit14->setToolTip(hint);
}

// ---------------------------------------------------------------------------------------------
// AUTO COLLECT settings

void McaPage::CheckBox23Click() {
    if (rec().Mca1Enabled == 1) {
        rec().AutoCollectMca1 = CheckBox23->isChecked() ? 1 : 0;
    } else {
        rec().AutoCollectMca1 = 0;
        CheckBox23->setChecked(false);
    }
}

void McaPage::CheckBox24Click() {
    if (rec().Mca2Enabled == 1) {
        rec().AutoCollectMca2 = CheckBox24->isChecked() ? 1 : 0;
    } else {
        rec().AutoCollectMca2 = 0;
        CheckBox24->setChecked(false);
    }
}

void McaPage::CheckBox27Click() { rec().SaveCsv = CheckBox27->isChecked() ? 1 : 0; }

void McaPage::CheckBox28Click() { rec().SaveBinary = CheckBox28->isChecked() ? 1 : 0; }

void McaPage::CheckBox49Click() { rec().CsvHeader = CheckBox49->isChecked() ? 1 : 0; }

void McaPage::Edit21Change() { storeSjis(rec().CollectFileName, Edit21->text()); }

void McaPage::Edit22Change() { storeInt(Edit22->text(), rec().CollectRepeatCount); }

// ---------------------------------------------------------------------------------------------
// Spectrum view

void McaPage::DrawSpectrum() {
    if (main().currentPageIndex() != 1) return;
    SpectrumState& sp = st().spectrum;
    plot_->draw(SPCImage, sp, rec());
    drawLineMarkers(SPCImage, sp, rec(), st().lines);
    RoiCounts counts;
    if (SpectrumPlot::currentRoiCounts(sp, rec(), counts)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", counts.net);
        setTextIfChanged(Edit23, buf);
        std::snprintf(buf, sizeof buf, "%d", counts.gross);
        setTextIfChanged(Edit24, buf);
    }
    if (!SPCImage.isNull()) PaintBox1->showImage(SPCImage);
}

double McaPage::ChannelToEnergy(int s, double x) { return qor::ChannelToEnergy(rec(), s, x); }

void McaPage::showWorkSlot() {
    RadioGroup1->setItemIndex(kSlotWork);
    showReadComments(st().files.ReadComment1, st().files.ReadComment2);
}

namespace {
// Room left of the plot's scale text and right of its live and real time with their seconds.
constexpr int kCommentLeft = 110;
constexpr int kCommentRightMargin = 180;
constexpr int kCommentLineHeight = 16;
}  // namespace

void McaPage::placeReadComments() {
    const int width = std::max(0, PaintBox1->width() - kCommentLeft - kCommentRightMargin);
    FileComment1->setGeometry(kCommentLeft, 2, width, kCommentLineHeight);
    FileComment2->setGeometry(kCommentLeft, 2 + kCommentLineHeight, width, kCommentLineHeight);
    showReadComments(st().files.ReadComment1, st().files.ReadComment2);
}

void McaPage::showReadComments(const QString& comment1, const QString& comment2) {
    const QFontMetrics fm(FileComment1->font());
    const int width = FileComment1->width();
    FileComment1->setText(fm.elidedText(comment1, Qt::ElideRight, width));
    FileComment2->setText(fm.elidedText(comment2, Qt::ElideRight, width));
    // The comments belong to the file read into WORK: not over a live spectrum.
    const bool work = viewSlot() == kSlotWork;
    FileComment1->setVisible(work);
    FileComment2->setVisible(work);
}

void McaPage::SpeedButton1Click() {
    zoomIn(st().spectrum, viewSlot(), viewChannels());
    DrawSpectrum();
}

void McaPage::SpeedButton2Click() {
    zoomOut(st().spectrum, viewSlot(), viewChannels());
    DrawSpectrum();
}

void McaPage::SpeedButton3Click() {
    scaleTaller(st().spectrum, st().spectrum.slot[viewSlot()]);
    DrawSpectrum();
}

void McaPage::SpeedButton4Click() {
    scaleLog(st().spectrum);
    DrawSpectrum();
}

void McaPage::SpeedButton5Click() {
    rec().ViewLineMode = rec().ViewLineMode == 1 ? 0 : 1;
    DrawSpectrum();
}

void McaPage::SpeedButton6Click() {
    scaleShorter(st().spectrum, st().spectrum.slot[viewSlot()]);
    DrawSpectrum();
}

void McaPage::SpeedButton12Click() {
    scrollLeft(st().spectrum, viewSlot(), viewChannels());
    DrawSpectrum();
}

void McaPage::SpeedButton13Click() {
    scrollRight(st().spectrum, viewSlot(), viewChannels());
    DrawSpectrum();
}

void McaPage::SpeedButton25Click() {
    SpectrumState& sp = st().spectrum;
    sp.OverlapOn = sp.OverlapOn == 1 ? 0 : 1;
    SpeedButton45->setEnabled(sp.OverlapOn == 1);
}

void McaPage::SpeedButton31Click() { spectrumToWork(st().spectrum, rec(), viewSlot()); }

void McaPage::SpeedButton43Click() {
    cursorLeft(st().spectrum, viewSlot());
    DrawSpectrum();
}

void McaPage::SpeedButton44Click() {
    cursorRight(st().spectrum, viewSlot());
    DrawSpectrum();
}

void McaPage::SpeedButton45Click() {
    nextOverlapColour(st().spectrum);
    DrawSpectrum();
}

void McaPage::RadioGroup1Click() {
    const int index = RadioGroup1->itemIndex();
    if (index < 0 || index >= kSlotCount) return;
    st().spectrum.ViewSlot = index;
    rec().CurrentSlot = index;
    showReadComments(st().files.ReadComment1, st().files.ReadComment2);
    DrawSpectrum();
}

bool McaPage::PaintBox1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const PlotKey k = plotKeyFor(key, modifiers);
    SpectrumState& sp = st().spectrum;
    switch (k.action) {
        case PlotKeyAction::None: return false;
        case PlotKeyAction::CursorBy: cursorByKey(sp, viewSlot(), viewChannels(), k.step); break;
        case PlotKeyAction::FirstShown: cursorToFirstShown(sp, viewSlot(), viewChannels()); break;
        case PlotKeyAction::LastShown: cursorToLastShown(sp, viewSlot(), viewChannels()); break;
        case PlotKeyAction::ZoomIn: SpeedButton1Click(); return true;
        case PlotKeyAction::ZoomOut: SpeedButton2Click(); return true;
        case PlotKeyAction::Start: Button5Click(); return true;
        case PlotKeyAction::Stop: Button4Click(); return true;
    }
    DrawSpectrum();
    return true;
}

bool McaPage::pageKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const PlotKey k = plotKeyFor(key, modifiers);
    if (k.action == PlotKeyAction::Start) Button5Click();
    else if (k.action == PlotKeyAction::Stop) Button4Click();
    else return false;
    return true;
}

void McaPage::PaintBox1MouseDown(int x, int y) {
    (void)y;
    cursorToPixel(st().spectrum, viewSlot(), x);
    DrawSpectrum();
}

void McaPage::SButton10Click() {
    if (rec().VoiceOn != 0) {
        rec().VoiceOn = 0;
        svc().sounds.play(QStringLiteral("onseiEnd.wav"));
    } else {
        svc().sounds.play(QStringLiteral("onseiStart.wav"));
        rec().VoiceOn = 1;
    }
    syncSoundSwitch();
}

// ---------------------------------------------------------------------------------------------
// ROI group

void McaPage::ShowCurrentRoi() {
    const int s = viewSlot();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", st().spectrum.CurrentRoi[s]);
    setTextIfChanged(Edit17, buf);  // a new number runs Edit17Change
    const int r = currentRoi();
    std::snprintf(buf, sizeof buf, "%d", rec().RoiStart[s][r]);
    setTextIfChanged(Edit18, buf);
    std::snprintf(buf, sizeof buf, "%d", rec().RoiEnd[s][r]);
    setTextIfChanged(Edit19, buf);
    setBoxColour(Edit25, QColor(st().spectrum.RoiColour[r]));
}

void McaPage::Edit17Change() {
    int32_t number = 0;
    if (parseRoiNumber(Edit17->text(), number)) st().spectrum.CurrentRoi[viewSlot()] = number;
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::Button7Click() {
    int32_t& r = st().spectrum.CurrentRoi[viewSlot()];
    if (r < kRoiLastSelectable) ++r;
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::Button8Click() {
    int32_t& r = st().spectrum.CurrentRoi[viewSlot()];
    if (r > kRoiFirstSelectable) --r;
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::Button9Click() {
    const int s = viewSlot();
    roiSet(rec(), s, currentRoi(), st().spectrum.CursorChannel[s]);
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::Button10Click() {
    roiClear(rec(), viewSlot(), currentRoi());
    showZeroRoiValues();
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::Button11Click() {
    roiClearAll(rec(), viewSlot());
    showZeroRoiValues();
    DrawSpectrum();
    ShowCurrentRoi();
}

void McaPage::Button12Click() {
    const int s = viewSlot();
    st().spectrum.CursorChannel[s] = clampChannel(rec().RoiStart[s][currentRoi()]);
    DrawSpectrum();
}

void McaPage::Button15Click() {
    const int s = viewSlot();
    const int found = roiAtChannel(rec(), s, st().spectrum.CursorChannel[s]);
    if (found == 0) return;
    st().spectrum.CurrentRoi[s] = found;
    ShowCurrentRoi();  // the new number in Edit17 redraws through Edit17Change
}

void McaPage::SpeedButton39Click() {
    roiWiden(rec(), viewSlot(), currentRoi(), viewChannels());
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::SpeedButton40Click() {
    roiNarrow(rec(), viewSlot(), currentRoi());
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::SpeedButton41Click() {
    roiShiftLeft(rec(), viewSlot(), currentRoi());
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::SpeedButton42Click() {
    roiShiftRight(rec(), viewSlot(), currentRoi(), viewChannels());
    ShowCurrentRoi();
    DrawSpectrum();
}

// ---------------------------------------------------------------------------------------------
// Spectrum move and arithmetic

void McaPage::Button14Click() {
    copySlot(st().spectrum, CbBOXsorce->currentIndex(), CbBOXdist->currentIndex());
}

void McaPage::computeClick() {
    computeSlots(st().spectrum, CBanser->currentIndex(), CB1->currentIndex(),
                 CBop->currentIndex(), CB2->currentIndex());
}

McaSelection McaPage::selection() const {
    return McaSelection{CheckBox13->isChecked(), CheckBox14->isChecked()};
}

void McaPage::Button5Click() {
    const QString problem = presetTextProblem(Edit14->text());
    if (!problem.isEmpty()) {
        svc().alerts.beep();
        svc().alerts.status(problem);
        return;
    }
    mcaStart(st(), kx(), svc().alerts, selection());
}

void McaPage::Button4Click() { mcaStop(st(), kx(), svc().alerts, selection()); }

void McaPage::Button3Click() { mcaClear(st(), kx(), svc().alerts, selection()); }

void McaPage::tickDuty() {
    const McaTickResult res = mcaAcquisitionTick(st(), kx(), svc().alerts);
    if (res.action == McaTick::Nothing) return;
    if (res.action == McaTick::Redraw) {
        const QColor want = res.measuring ? QColor(Qt::yellow) : QColor(Qt::white);
        if (Edit14->palette().color(QPalette::Base) != want) setBoxColour(Edit14, want);
        if (viewSlot() == 0) mca1Measuring_ = res.measuring;
        showPresetReadout();
    }
    DrawSpectrum();
}

}  // namespace qor
