#include "scan/ElementScanPage.h"

#include "app/FieldText.h"
#include "app/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qor {

ElementScanPage::ElementScanPage(PageContext ctx, QWidget* parent)
    : Page(ctx, parent),
      stage_(ctx.st, ctx.kx, ctx.svc.alerts),
      seq_(ctx.st, ctx.kx, ctx.svc, [this](int index) { return stage_.MotorBusy(index); }) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 10, 12, 10);
    page->setSpacing(10);

    QLabel* about = makeLabel(
        this, QStringLiteral("二次元試料全体をモータスキャンして、一つのエネルギースペクトルを測定します。\n"
                             "本測定の前に、試料全体に分布する元素を取得するのが目的です。\n"
                             "モータ移動範囲　(X)(Y)　とモータ速度を指定したら、MCAページでリアルタイムに観測します。\n"
                             "MCA-Pageでは、測定後、必要なピークをROI指定して、2D SCANで本測定をします。"));
    about->setFrameShape(QFrame::StyledPanel);
    about->setMargin(8);
    page->addWidget(about);

    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    page->addLayout(row);

    // Scan range, speed and the scan buttons.
    GroupElemScan = makeGroup(this, "GroupElemScan",
                              QStringLiteral("モータースキャン範囲の指定とMCA同期測定の開始"));
    auto* g = new QGridLayout(GroupElemScan);
    g->setContentsMargins(10, 12, 10, 10);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(8);
    g->addWidget(makeLabel(GroupElemScan, QStringLiteral("Ｘ軸モーターの回転速度[pps]")), 0, 0);
    Edit135 = makeEdit(GroupElemScan, "Edit135", 90);
    g->addWidget(Edit135, 0, 1);
    SpeedButton51 = makeSpeedButton(GroupElemScan, "SpeedButton51", QStringLiteral("?"),
                                    QStringLiteral("説明を聞く"));
    g->addWidget(SpeedButton51, 0, 2, Qt::AlignLeft);
    g->addWidget(makeLabel(GroupElemScan, QStringLiteral("(Xstart,Ystart)座標指定")), 1, 0);
    Edit150 = makeEdit(GroupElemScan, "Edit150", 90);
    Edit151 = makeEdit(GroupElemScan, "Edit151", 90);
    g->addWidget(Edit150, 1, 1);
    g->addWidget(Edit151, 1, 2);
    Button88 = makeButton(GroupElemScan, "Button88", QStringLiteral("(Xstart,Ystart)へ移動 "));
    g->addWidget(Button88, 1, 3);
    g->addWidget(makeLabel(GroupElemScan, QStringLiteral("(Xend,Yend)の座標指定")), 2, 0);
    Edit138 = makeEdit(GroupElemScan, "Edit138", 90);
    Edit148 = makeEdit(GroupElemScan, "Edit148", 90);
    g->addWidget(Edit138, 2, 1);
    g->addWidget(Edit148, 2, 2);
    Button89 = makeButton(GroupElemScan, "Button89", QStringLiteral("(Xend,Yend)へ移動 "));
    g->addWidget(Button89, 2, 3);
    g->addWidget(makeLabel(GroupElemScan, QStringLiteral("Y軸ステップ座標量")), 3, 0);
    Edit152 = makeEdit(GroupElemScan, "Edit152", 90);
    g->addWidget(Edit152, 3, 1);
    auto* run = new QHBoxLayout;
    Button80 = makeButton(GroupElemScan, "Button80",
                          QStringLiteral("上記範囲をモータースキャン中のMCA測定を開始"));
    Button87 = makeButton(GroupElemScan, "Button87", QStringLiteral("中止"));
    Button80->setMinimumHeight(34);
    Button87->setMinimumHeight(34);
    Button87->setMinimumWidth(80);
    run->addWidget(Button80, 1);
    run->addWidget(Button87);
    g->addLayout(run, 4, 0, 1, 4);
    g->setRowStretch(5, 1);
    row->addWidget(GroupElemScan, 3);

    // The X/Y jog pad.
    GroupElemJog = makeGroup(this, "GroupElemJog",
                             QStringLiteral("　測定開始原点位置の調整  (0,0)位置が開始位置"));
    auto* j = new QGridLayout(GroupElemJog);
    j->setContentsMargins(10, 12, 10, 10);
    j->setHorizontalSpacing(6);
    j->setVerticalSpacing(6);
    auto addPos = [&](int r, const QString& axis, const char* box, const char* ccw,
                      const char* cw, QLineEdit*& edit, StageLamp*& lampCcw,
                      StageLamp*& lampCw) {
        j->addWidget(makeLabel(GroupElemJog, axis), r, 0);
        edit = makeEdit(GroupElemJog, box, 110);
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
        j->addWidget(edit, r, 1, 1, 2);
        auto* lamps = new QHBoxLayout;
        lamps->setSpacing(4);
        lampCcw = new StageLamp(GroupElemJog, ccw, QStringLiteral("CCW リミット"));
        lampCw = new StageLamp(GroupElemJog, cw, QStringLiteral("CW リミット"));
        lamps->addWidget(lampCcw);
        lamps->addWidget(lampCw);
        lamps->addStretch(1);
        j->addLayout(lamps, r, 3);
    };
    addPos(0, QStringLiteral("X"), "Edit157", "Image7", "Image9", Edit157, Image7, Image9);
    addPos(1, QStringLiteral("Y"), "Edit156", "Image6", "Image8", Edit156, Image6, Image8);
    auto* pad = new QGridLayout;
    pad->setSpacing(4);
    Button81 = makeButton(GroupElemJog, "Button81", QStringLiteral("▲"));
    Button82 = makeButton(GroupElemJog, "Button82", QStringLiteral("▼"));
    Button84 = makeButton(GroupElemJog, "Button84", QStringLiteral("◀"));
    Button83 = makeButton(GroupElemJog, "Button83", QStringLiteral("▶"));
    Button85 = makeButton(GroupElemJog, "Button85", QStringLiteral("停止"));
    for (QPushButton* b : {Button81, Button82, Button84, Button83, Button85})
        b->setFixedSize(56, 34);
    pad->addWidget(Button81, 0, 1);
    pad->addWidget(Button84, 1, 0);
    pad->addWidget(Button85, 1, 1);
    pad->addWidget(Button83, 1, 2);
    pad->addWidget(Button82, 2, 1);
    j->addLayout(pad, 2, 0, 1, 4, Qt::AlignHCenter);
    Button86 = makeButton(GroupElemJog, "Button86", QStringLiteral("座標を(0,0)にする"));
    SpeedButton52 = makeSpeedButton(GroupElemJog, "SpeedButton52", QStringLiteral("?"),
                                    QStringLiteral("説明を聞く"));
    auto* zero = new QHBoxLayout;
    zero->addWidget(Button86, 1);
    zero->addWidget(SpeedButton52);
    j->addLayout(zero, 3, 0, 1, 4);
    j->setRowStretch(4, 1);
    row->addWidget(GroupElemJog, 2);
    page->addStretch(1);

    connect(Edit135, &QLineEdit::textChanged, this, &ElementScanPage::Edit135Change);
    connect(Edit150, &QLineEdit::textChanged, this, &ElementScanPage::Edit150Change);
    connect(Edit151, &QLineEdit::textChanged, this, &ElementScanPage::Edit151Change);
    connect(Edit138, &QLineEdit::textChanged, this, &ElementScanPage::Edit138Change);
    connect(Edit148, &QLineEdit::textChanged, this, &ElementScanPage::Edit148Change);
    connect(Edit152, &QLineEdit::textChanged, this, &ElementScanPage::Edit152Change);
    connect(SpeedButton51, &QToolButton::clicked, this, &ElementScanPage::SpeedButton21Click);
    connect(SpeedButton52, &QToolButton::clicked, this, &ElementScanPage::SpeedButton32Click);
    connect(Button84, &QPushButton::clicked, this, &ElementScanPage::Button29Click);
    connect(Button83, &QPushButton::clicked, this, &ElementScanPage::Button28Click);
    connect(Button82, &QPushButton::clicked, this, &ElementScanPage::Button27Click);
    connect(Button81, &QPushButton::clicked, this, &ElementScanPage::Button26Click);
    connect(Button85, &QPushButton::clicked, this, &ElementScanPage::Button30Click);
    connect(Button86, &QPushButton::clicked, this, &ElementScanPage::Button31Click);
    connect(Button80, &QPushButton::clicked, this, &ElementScanPage::Button80Click);
    connect(Button87, &QPushButton::clicked, this, &ElementScanPage::Button87Click);
    connect(Button88, &QPushButton::clicked, this, &ElementScanPage::Button88Click);
    connect(Button89, &QPushButton::clicked, this, &ElementScanPage::Button89Click);
    positions_[0] = StagePositionBox(1, Edit157, Image7, Image9);
    positions_[1] = StagePositionBox(2, Edit156, Image6, Image8);
}

void ElementScanPage::tickDuty() {
    if (st().Online != 1) return;
    for (StagePositionBox& p : positions_) p.refresh(stage_, rec(), st().LastMotorStatus);
}

void ElementScanPage::Button29Click() { stage_.jog(1, -rec().JogStepX); }
void ElementScanPage::Button28Click() { stage_.jog(1, rec().JogStepX); }
void ElementScanPage::Button27Click() { stage_.jog(2, -rec().JogStepY); }
void ElementScanPage::Button26Click() { stage_.jog(2, rec().JogStepY); }

void ElementScanPage::Button30Click() {
    if (stage_.scanLocks(1, 2)) return;
    stage_.halt(1);
    stage_.halt(2);
}

void ElementScanPage::Button31Click() {
    if (stage_.scanLocks(1, 2)) return;
    stage_.setCounterZero(1);
    stage_.setCounterZero(2);
}

// ---------------------------------------------------------------------------------------------
// The element scan

McaSelection ElementScanPage::mcaSelection() const {
    return links_.mcaSelection ? links_.mcaSelection() : McaSelection{};
}

void ElementScanPage::Button80Click() {
    seq_.start(mcaSelection(), [this] {
        if (links_.showMcaPage) links_.showMcaPage();
        if (links_.setRunNameTexts) links_.setRunNameTexts(QStringLiteral("元素Scan中"));
    });
    showScanDisplay();
}

void ElementScanPage::Button87Click() {
    seq_.stop(mcaSelection());
    showScanDisplay();
}

void ElementScanPage::Button88Click() { seq_.moveToCorner(false); }
void ElementScanPage::Button89Click() { seq_.moveToCorner(true); }

void ElementScanPage::scanTick() {
    seq_.tick(mcaSelection());
    showScanDisplay();
}

void ElementScanPage::showScanDisplay() {
    const ElementScanDisplay& d = seq_.display();
    // The mapping scan sets its own period while it runs.
    if (st().ScanMode != 2) main().setTimer2Interval(d.timer2Interval);
    if (shown_.any && d.serial == shown_.serial) return;
    shown_.any = true;
    shown_.serial = d.serial;
    if (links_.showRunNames) links_.showRunNames(d.runName1, d.runName2);
    if (d.errViewCount != shown_.errViewCount) {
        shown_.errViewCount = d.errViewCount;
        if (links_.showErrView) links_.showErrView(QString::fromLatin1(d.errView));
    }
}

void ElementScanPage::startupStep(int step) {
    if (step != 18) return;
    const InfoRecord& r = rec();
    Edit135->setText(QString::number(r.ElemScanSpeedPps));
    Edit150->setText(formatGeneral(r.ElemScanXStart));
    Edit151->setText(formatGeneral(r.ElemScanYStart));
    Edit138->setText(formatGeneral(r.ElemScanXEnd));
    Edit148->setText(formatGeneral(r.ElemScanYEnd));
    Edit152->setText(formatGeneral(r.ElemScanYStep));
    // The position boxes show the step counts until the first position read.
    Edit156->setText(QString::number(r.ScanYSteps));
    Edit157->setText(QString::number(r.ScanXSteps));
}

void ElementScanPage::Edit135Change() { storeInt(Edit135->text(), rec().ElemScanSpeedPps); }
void ElementScanPage::Edit150Change() { storeDouble(Edit150->text(), rec().ElemScanXStart); }
void ElementScanPage::Edit151Change() { storeDouble(Edit151->text(), rec().ElemScanYStart); }
void ElementScanPage::Edit138Change() { storeDouble(Edit138->text(), rec().ElemScanXEnd); }
void ElementScanPage::Edit148Change() { storeDouble(Edit148->text(), rec().ElemScanYEnd); }
void ElementScanPage::Edit152Change() { storeDouble(Edit152->text(), rec().ElemScanYStep); }

void ElementScanPage::SpeedButton21Click() { svc().sounds.play(QStringLiteral("PenEdit74.wav")); }

void ElementScanPage::SpeedButton32Click() {
    svc().sounds.play(QStringLiteral("kokoButton.wav"));
}

}  // namespace qor
