#include "scan/Scan2DPage.h"

#include "app/DialogSet.h"
#include "app/FieldText.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"
#include "scan/ScanConfig.h"
#include "scan/TOKRightDlg1.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <cstring>

namespace qor {

namespace {

constexpr int kPageIndex = 3;        // index of this page in PageMaster
constexpr int kPanel5Height = 174;   // fixed height of the scan panel

// A read-only box: values the program shows, not settings the operator types.
QLineEdit* makeShowBox(QWidget* parent, const char* name, int width) {
    QLineEdit* e = makeEdit(parent, name, width);
    e->setReadOnly(true);
    return e;
}

// Picture of a scale button: a ramp of the colour table it selects.
QIcon rampIcon(const QRgb* table, int n) {
    QPixmap pm(20, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    for (int x = 0; x < 18; ++x) {
        p.setPen(QColor::fromRgb(table[x * n / 18]));
        p.drawLine(1 + x, 2, 1 + x, 13);
    }
    p.setPen(Qt::black);
    p.drawRect(0, 1, 19, 13);
    return QIcon(pm);
}

}  // namespace

Scan2DPage::Scan2DPage(PageContext ctx, QWidget* parent)
    : Page(ctx, parent),
      view_(std::make_unique<MapView>()),
      stage_(ctx.st, ctx.kx, ctx.svc.alerts),
      seq_(ctx.st, ctx.kx, ctx.svc, [this](int index) { return stage_.motorState(index); }) {
    PaintBoxElem = named(new PaintBox(this), "PaintBoxElem");
    PaintBox2D = named(new PaintBox(this), "PaintBox2D");
    buildViewControls();
    buildMotorColumn();
    buildPanel5();
    connectButtons();
    positions_[0] = StagePositionBox(1, Edit143, imgCCW2DX, imgCW2DX);
    positions_[1] = StagePositionBox(2, Edit142, imgCCW2DY, imgCW2DY);
    positions_[2] = StagePositionBox(3, Edit144, imgCCW2DZ, imgCW2DZ);

    connect(PaintBoxElem, &PaintBox::mousePressed, this,
            [this](int x, int y, Qt::MouseButton b) { PaintBoxElemMouseDown(b, x, y); });
    connect(PaintBox2D, &PaintBox::mousePressed, this,
            [this](int x, int y, Qt::MouseButton b) { PaintBox2DMouseDown(b, x, y); });
}

Scan2DPage::~Scan2DPage() = default;

void Scan2DPage::buildViewControls() {
    // Contrast track bars, the upper cut above the lower cut. They are placed by placeControls:
    // beside the map when there is room there, else under the legend.
    contrastStrip_ = new QWidget(this);
    contrastStrip_->setObjectName(QStringLiteral("Scan2DContrast"));
    auto addBar = [this](int index, const QString& caption, const char* barName,
                         const char* boxName, QSlider*& bar, QLineEdit*& box) {
        ContrastRow& row = contrastRows_[index];
        row.caption = makeLabel(contrastStrip_, caption);
        bar = named(new QSlider(Qt::Horizontal, contrastStrip_), barName);
        bar->setRange(0, 100);
        bar->setPageStep(10);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(25);
        row.bar = bar;
        row.scale = makeLabel(contrastStrip_, QStringLiteral("0...:...:...:..100"));
        row.scale->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        box = makeShowBox(contrastStrip_, boxName, 70);
        box->setAlignment(Qt::AlignRight);
        row.box = box;
    };
    addBar(0, QStringLiteral("Ｚ軸 Top"), "TrackBar2", "Edit146", TrackBar2, Edit146);
    addBar(1, QStringLiteral("Ｚ軸 Bottom"), "TrackBar1", "Edit145", TrackBar1, Edit145);
    connect(TrackBar1, &QSlider::valueChanged, this, &Scan2DPage::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &Scan2DPage::TrackBar2Change);

    // The eight view buttons (their glyphs are pictures; the hints say what they do).
    MapDisplayState scales;
    fillMapScales(scales);
    SpeedButton36 = makeSpeedButton(this, "SpeedButton36", QString(),
                                    QStringLiteral("カラー表示"));
    SpeedButton36->setIcon(rampIcon(scales.MapColourScale, 24));
    SpeedButton37 = makeSpeedButton(this, "SpeedButton37", QString(),
                                    QStringLiteral("白黒表示"));
    SpeedButton37->setIcon(rampIcon(scales.MapGreyScale, 128));
    SpeedButton38 = makeSpeedButton(this, "SpeedButton38", QStringLiteral("▼"),
                                    QStringLiteral("ZMaxを10%下げる"));
    SpeedButton46 = makeSpeedButton(this, "SpeedButton46", QStringLiteral("▲"),
                                    QStringLiteral("ZMaxを10%上げる"));
    SpeedButton49 = makeSpeedButton(this, "SpeedButton49", QStringLiteral("MAX"),
                                    QStringLiteral("ZMaxを表示中マップの最大カウントにする"));
    SpeedButton47 = makeSpeedButton(this, "SpeedButton47", QStringLiteral("＋"),
                                    QStringLiteral("拡大"));
    SpeedButton48 = makeSpeedButton(this, "SpeedButton48", QStringLiteral("－"),
                                    QStringLiteral("縮小"));
    SpeedButton50 = makeSpeedButton(this, "SpeedButton50", QStringLiteral("1:1"),
                                    QStringLiteral("拡大を元に戻す"));
    connect(SpeedButton36, &QToolButton::clicked, this, &Scan2DPage::SpeedButton36Click);
    connect(SpeedButton37, &QToolButton::clicked, this, &Scan2DPage::SpeedButton37Click);
    connect(SpeedButton38, &QToolButton::clicked, this, &Scan2DPage::SpeedButton38Click);
    connect(SpeedButton46, &QToolButton::clicked, this, &Scan2DPage::SpeedButton46Click);
    connect(SpeedButton49, &QToolButton::clicked, this, &Scan2DPage::SpeedButton49Click);
    connect(SpeedButton47, &QToolButton::clicked, this, &Scan2DPage::SpeedButton47Click);
    connect(SpeedButton48, &QToolButton::clicked, this, &Scan2DPage::SpeedButton48Click);
    connect(SpeedButton50, &QToolButton::clicked, this, &Scan2DPage::SpeedButton50Click);
}

void Scan2DPage::buildMotorColumn() {
    motorColumn_ = new QWidget(this);
    motorColumn_->setObjectName(QStringLiteral("Scan2DMotors"));
    auto* col = new QVBoxLayout(motorColumn_);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(4);
    auto addGroup = [&](const char* name, const QString& caption, const char* minus,
                        const char* plus, const char* set0, const char* pos, const char* ccw,
                        const char* cw, QPushButton*& bMinus, QPushButton*& bPlus,
                        QPushButton*& bSet0, QLineEdit*& ePos, StageLamp*& lCcw,
                        StageLamp*& lCw) {
        QGroupBox* g = makeGroup(motorColumn_, name, caption);
        auto* grid = new QGridLayout(g);
        grid->setContentsMargins(3, 3, 3, 3);
        grid->setSpacing(2);
        bMinus = makeButton(g, minus, QStringLiteral("◀"));
        bPlus = makeButton(g, plus, QStringLiteral("▶"));
        bSet0 = makeButton(g, set0, QStringLiteral("Set 0"));
        ePos = makeShowBox(g, pos, 0);
        ePos->setAlignment(Qt::AlignRight);
        for (QPushButton* b : {bMinus, bPlus}) b->setMinimumWidth(30);
        // The end switches flank Set 0: CCW (the minus side) under ◀, CW under ▶.
        lCcw = new StageLamp(g, ccw, QStringLiteral("CCW リミットスイッチ"));
        lCw = new StageLamp(g, cw, QStringLiteral("CW リミットスイッチ"));
        auto* zeroRow = new QHBoxLayout;
        zeroRow->setSpacing(2);
        zeroRow->addWidget(lCcw);
        zeroRow->addWidget(bSet0, 1);
        zeroRow->addWidget(lCw);
        grid->addWidget(bMinus, 0, 0);
        grid->addWidget(bPlus, 0, 1);
        grid->addLayout(zeroRow, 1, 0, 1, 2);
        grid->addWidget(ePos, 2, 0, 1, 2);
        col->addWidget(g);
        return g;
    };
    GroupMotorY = addGroup("GroupMotorY", QStringLiteral("Y軸モーター"), "Button71", "Button69",
                           "Button70", "Edit142", "imgCCW2DY", "imgCW2DY", Button71, Button69,
                           Button70, Edit142, imgCCW2DY, imgCW2DY);
    GroupMotorX = addGroup("GroupMotorX", QStringLiteral("　X軸モーター"), "Button72",
                           "Button73", "Button74", "Edit143", "imgCCW2DX", "imgCW2DX", Button72,
                           Button73, Button74, Edit143, imgCCW2DX, imgCW2DX);
    GroupMotorZ = addGroup("GroupMotorZ", QStringLiteral("　Z軸モーター "), "Button75",
                           "Button76", "Button77", "Edit144", "imgCCW2DZ", "imgCW2DZ", Button75,
                           Button76, Button77, Edit144, imgCCW2DZ, imgCW2DZ);
    col->addStretch(1);

    // The view buttons, three to a row; placed beside the map or under the motor groups.
    viewButtons_ = new QWidget(this);
    viewButtons_->setObjectName(QStringLiteral("Scan2DViewButtons"));
    auto* buttons = new QGridLayout(viewButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    QToolButton* order[] = {SpeedButton36, SpeedButton37, SpeedButton49, SpeedButton38,
                            SpeedButton46, SpeedButton50, SpeedButton47, SpeedButton48};
    for (int i = 0; i < 8; ++i) {
        order[i]->setParent(viewButtons_);
        buttons->addWidget(order[i], i / 3, i % 3);
    }
}

void Scan2DPage::buildPanel5() {
    Panel5 = named(new QFrame(this), "Panel5");
    Panel5->setFrameShape(QFrame::StyledPanel);
    Panel5->setFixedHeight(kPanel5Height);
    auto* grid = new QGridLayout(Panel5);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // Start and stop, the motor shortcuts.
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    Button65 = makeButton(Panel5, "Button65", QStringLiteral("Start SCAN"));
    Button66 = makeButton(Panel5, "Button66", QStringLiteral("Stop SCAN"));
    Button63 = makeButton(Panel5, "Button63", QStringLiteral("GOTO (0,0,0)"));
    Button64 = makeButton(Panel5, "Button64", QStringLiteral("GOTO (0,0)"));
    Button68 = makeButton(Panel5, "Button68", QStringLiteral("Stop Motor"));
    Button65->setStyleSheet(QStringLiteral("font-weight: bold;"));
    top->addWidget(Button65);
    top->addWidget(Button66);
    ButtonRecoverScan = makeButton(Panel5, "ButtonRecoverScan", QStringLiteral("Recover…"),
                                   QStringLiteral("Unfinished scans in the save folder: recover "
                                                  "their lines from the scan journal"));
    top->addWidget(ButtonRecoverScan);
    top->addStretch(1);
    top->addWidget(Button63);
    top->addWidget(Button64);
    top->addWidget(Button68);
    grid->addLayout(top, 0, 0, 1, 2);

    // Progress and queue state (left).
    auto* left = new QGridLayout;
    left->setHorizontalSpacing(4);
    left->setVerticalSpacing(3);
    left->addWidget(makeLabel(Panel5, QStringLiteral("File name")), 0, 0);
    Edit141 = makeEdit(Panel5, "Edit141");
    left->addWidget(Edit141, 0, 1, 1, 5);
    LBstepX = makeLabel(Panel5, QStringLiteral("0/ 0"), "LBstepX");
    LBstepY = makeLabel(Panel5, QStringLiteral("0/ 0"), "LBstepY");
    LBstepZ = makeLabel(Panel5, QStringLiteral("0/ 0"), "LBstepZ");
    // Room for the longest progress text of a 1024 x 1024 scan.
    for (QLabel* l : {LBstepX, LBstepY, LBstepZ})
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("1024/ 1024")) + 4);
    left->addWidget(makeLabel(Panel5, QStringLiteral("step X")), 1, 0);
    left->addWidget(LBstepX, 1, 1);
    left->addWidget(makeLabel(Panel5, QStringLiteral("Y")), 1, 2, Qt::AlignRight);
    left->addWidget(LBstepY, 1, 3);
    left->addWidget(makeLabel(Panel5, QStringLiteral("Z")), 1, 4, Qt::AlignRight);
    left->addWidget(LBstepZ, 1, 5);
    // The two queue boxes: the pixels waiting to be read, and the line's pixels counting them.
    left->addWidget(makeLabel(Panel5, QStringLiteral("Queue"), "LabelQueue"), 2, 0);
    Edit149 = makeShowBox(Panel5, "Edit149", 44);
    Edit147 = makeShowBox(Panel5, "Edit147", 52);
    Edit149->setAlignment(Qt::AlignRight);
    Edit147->setAlignment(Qt::AlignRight);
    Edit149->setText(QStringLiteral("0"));
    Edit147->setText(QStringLiteral("0"));
    setBoxColour(Edit149, Qt::white);
    Edit149->setToolTip(QStringLiteral("読み出し待ちの測定点数"));
    Edit147->setToolTip(QStringLiteral("このラインの測定点数"));
    left->addWidget(Edit149, 2, 1);
    left->addWidget(makeLabel(Panel5, QStringLiteral("Line"), "LabelLine"), 2, 2, Qt::AlignRight);
    left->addWidget(Edit147, 2, 3);
    auto* counts = new QHBoxLayout;
    counts->setSpacing(3);
    LabelRcnt = makeLabel(Panel5, QStringLiteral("0"), "LabelRcnt");
    LabelYcnt = makeLabel(Panel5, QStringLiteral("0"), "LabelYcnt");
    LabelRcnt->setStyleSheet(QStringLiteral("color: #c00000;"));
    LabelYcnt->setStyleSheet(QStringLiteral("color: #a08000;"));
    LabelRcnt->setToolTip(QStringLiteral("赤 (14点以上)"));
    LabelYcnt->setToolTip(QStringLiteral("黄 (9〜12点)"));
    for (QLabel* l : {LabelRcnt, LabelYcnt})
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("999999")));
    counts->addWidget(makeLabel(Panel5, QStringLiteral("R")));
    counts->addWidget(LabelRcnt);
    counts->addSpacing(6);
    counts->addWidget(makeLabel(Panel5, QStringLiteral("Y")));
    counts->addWidget(LabelYcnt);
    counts->addStretch(1);
    left->addLayout(counts, 2, 4, 1, 2);
    left->addWidget(makeLabel(Panel5, QStringLiteral("Error")), 3, 0);
    ErrView = makeShowBox(Panel5, "ErrView", 0);
    left->addWidget(ErrView, 3, 1, 1, 5);
    left->setColumnStretch(5, 1);
    grid->addLayout(left, 1, 0);

    // Scan ranges shown by the sequencer (right).
    auto* range = new QGridLayout;
    range->setHorizontalSpacing(3);
    range->setVerticalSpacing(3);
    const char* heads[] = {"Start", "End", "Step"};
    for (int c = 0; c < 3; ++c)
        range->addWidget(makeLabel(Panel5, QString::fromLatin1(heads[c])), 0, 1 + c,
                         Qt::AlignHCenter);
    range->addWidget(makeLabel(Panel5, QStringLiteral("回数")), 0, 4, Qt::AlignHCenter);
    auto addRow = [&](int row, const QString& axis, const char* a, const char* b, const char* c,
                      QLineEdit*& ea, QLineEdit*& eb, QLineEdit*& ec) {
        range->addWidget(makeLabel(Panel5, axis), row, 0);
        ea = makeShowBox(Panel5, a, 62);
        eb = makeShowBox(Panel5, b, 62);
        ec = makeShowBox(Panel5, c, 62);
        range->addWidget(ea, row, 1);
        range->addWidget(eb, row, 2);
        range->addWidget(ec, row, 3);
    };
    addRow(1, QStringLiteral("X"), "Edit132", "Edit133", "Edit134", Edit132, Edit133, Edit134);
    addRow(2, QStringLiteral("Y"), "Edit129", "Edit130", "Edit131", Edit129, Edit130, Edit131);
    addRow(3, QStringLiteral("Z"), "Edit136", "Edit137", "Edit139", Edit136, Edit137, Edit139);
    Edit140 = makeShowBox(Panel5, "Edit140", 44);
    range->addWidget(Edit140, 3, 4);
    grid->addLayout(range, 1, 1, Qt::AlignTop);

    // Progress of the whole scan with its elapsed time and the time left.
    auto* progress = new QHBoxLayout;
    progress->setSpacing(4);
    ScanProgressBar = named(new QProgressBar(Panel5), "ScanProgressBar");
    ScanProgressBar->setRange(0, 1000);
    ScanProgressBar->setValue(0);
    ScanProgressBar->setTextVisible(true);
    ScanProgressBar->setFormat(QString());
    ScanProgressBar->setMaximumHeight(fontMetrics().height() + 6);
    LabelElapsed = makeLabel(Panel5, QStringLiteral("0:00:00"), "LabelElapsed");
    LabelLeft = makeLabel(Panel5, QStringLiteral("0:00:00"), "LabelLeft");
    for (QLabel* l : {LabelElapsed, LabelLeft}) {
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("000:00:00")) + 4);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    progress->addWidget(makeLabel(Panel5, QStringLiteral("Progress")));
    progress->addWidget(ScanProgressBar, 1);
    progress->addSpacing(4);
    progress->addWidget(makeLabel(Panel5, QStringLiteral("Elapsed")));
    progress->addWidget(LabelElapsed);
    progress->addSpacing(4);
    progress->addWidget(makeLabel(Panel5, QStringLiteral("Left")));
    progress->addWidget(LabelLeft);
    grid->addLayout(progress, 2, 0, 1, 2);

    // How the last scan ended, and the warning of shifted pixels.
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    LabelScanEnd = makeLabel(Panel5, QString(), "LabelScanEnd");
    LabelScanEnd->setStyleSheet(QStringLiteral("font-weight: bold;"));
    // As wide as the row allows: a text longer than the row (beside the shifted-pixel warning)
    // is cut, and whole in its hint and in the status bar.
    LabelScanEnd->setMinimumWidth(1);
    LabelScanEnd->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    RedErrorComment = makeLabel(
        Panel5, QStringLiteral("MCA測定時間が短く、測定点が桁ズレした可能性があります。"),
        "RedErrorComment");
    RedErrorComment->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    // Hidden, the warning leaves its room to the end text.
    RedErrorComment->hide();
    bottom->addWidget(LabelScanEnd, 1);
    bottom->addWidget(RedErrorComment);
    grid->addLayout(bottom, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);

    connect(Edit141, &QLineEdit::textChanged, this, &Scan2DPage::Edit141Change);
}

void Scan2DPage::resizeEvent(QResizeEvent* e) {
    Page::resizeEvent(e);
    placeControls();
}

void Scan2DPage::placeControls() {
    // Legend at the left, the map to the right of the motor column, the scan panel at the
    // bottom right under the map, the contrast bars under the legend.
    const QRect legend = PaintBoxElem->geometry();
    const int colLeft = legend.right() + 5;
    const int colWidth = std::max(60, PaintBox2D->x() - colLeft - 4);
    const int panelTop = height() - kPanel5Height - 2;
    const int colHeight = std::max(0, panelTop - 4 - legend.top());
    Panel5->setGeometry(colLeft, panelTop, std::max(0, width() - colLeft - 3), kPanel5Height);
    placeContrastBars(legend);
    // The view buttons go under the contrast bars beside the map when there is room there;
    // else they close the motor column.
    const QSize buttons = viewButtons_->sizeHint();
    const int besideLeft = PaintBox2D->geometry().right() + 8;
    const int besideTop = contrastStrip_->geometry().bottom() + 8;
    const bool beside = contrastStrip_->x() == besideLeft &&
                        width() - besideLeft - 4 >= buttons.width() &&
                        besideTop + buttons.height() <= PaintBox2D->geometry().bottom();
    if (beside) {
        viewButtons_->setGeometry(besideLeft, besideTop, buttons.width(), buttons.height());
        motorColumn_->setGeometry(colLeft, legend.top(), colWidth, colHeight);
    } else {
        const int h = std::min(buttons.height(), colHeight);
        viewButtons_->setGeometry(colLeft, legend.top() + colHeight - h, colWidth, h);
        motorColumn_->setGeometry(colLeft, legend.top(), colWidth, std::max(0, colHeight - h - 6));
    }
}

void Scan2DPage::placeContrastBars(const QRect& legend) {
    const QFontMetrics fm(font());
    const int line = fm.height() + 4;
    const int besideLeft = PaintBox2D->geometry().right() + 8;
    const int besideWidth = width() - besideLeft - 4;
    if (besideWidth >= 100) {
        // A column beside the map: the caption, the box, the bar, its scale.
        const int w = std::min(besideWidth, 180);
        contrastStrip_->setGeometry(besideLeft, PaintBox2D->y(), w, 2 * (4 * line + 12));
        int y = 0;
        for (ContrastRow& row : contrastRows_) {
            row.caption->setGeometry(0, y, w, line);
            row.box->setGeometry(w - 70, y + line, 70, line);
            row.bar->setGeometry(0, y + 2 * line + 2, w, line);
            row.scale->setGeometry(0, y + 3 * line + 2, w, line);
            y += 4 * line + 12;
        }
        return;
    }
    // Under the legend: caption, bar and box on one line, the scale under the bar.
    const int top = legend.bottom() + 3;
    contrastStrip_->setGeometry(legend.left(), top, legend.width(),
                                std::max(0, height() - top - 2));
    const int captionWidth = fm.horizontalAdvance(QStringLiteral("Ｚ軸 Bottom")) + 8;
    const int barLeft = captionWidth;
    const int barWidth = std::max(40, legend.width() - captionWidth - 76);
    int y = 0;
    for (ContrastRow& row : contrastRows_) {
        row.caption->setGeometry(0, y, captionWidth, line);
        row.bar->setGeometry(barLeft, y, barWidth, line);
        row.box->setGeometry(legend.width() - 72, y, 70, line);
        row.scale->setGeometry(barLeft, y + line - 2, barWidth, line - 4);
        y += 2 * line - 4;
    }
}

void Scan2DPage::setMapAreas(QRect elementMap, QRect map2D) {
    PaintBoxElem->setGeometry(elementMap);
    PaintBox2D->setGeometry(map2D);
    if (ImageElem.size() != elementMap.size()) {
        ImageElem = QImage(elementMap.size(), QImage::Format_RGB32);
        ImageElem.fill(Qt::white);
        view_->invalidateLegend();
    }
    if (Image2D.size() != map2D.size()) {
        Image2D = QImage(map2D.size(), QImage::Format_RGB32);
        Image2D.fill(Qt::black);
    }
    MapDisplayState& mv = st().mapView;
    mv.DrawExtentX = map2D.width() - 2;
    mv.DrawExtentY = map2D.width() - 2;
    placeControls();
}

void Scan2DPage::DrawMap() {
    MapDisplayState& mv = st().mapView;
    if (mv.MapDrawHold == 1 || main().currentPageIndex() != kPageIndex) return;
    if (Image2D.isNull() || ImageElem.isNull()) return;
    const MapDrawOutcome out = view_->drawMap(Image2D, st().maps, mv, rec());
    if (out.accessOver) {
        svc().alerts.beep();
        svc().alerts.status(QStringLiteral("2d access (x,y) over"));
    }
    view_->drawLegend(ImageElem, rec());
    PaintBox2D->showImage(Image2D);
    PaintBoxElem->showImage(ImageElem);
}

void Scan2DPage::startupStep(int step) {
    InfoRecord& r = rec();
    MapDisplayState& mv = st().mapView;
    switch (step) {
        case 16:
            Edit136->setText(formatGeneral(r.ZStart));
            Edit137->setText(formatGeneral(r.ZEnd));
            Edit139->setText(formatGeneral(r.ZStep));
            Edit140->setText(QString::number(r.ZCount));
            Edit129->setText(formatGeneral(r.ScanYStart));
            Edit130->setText(formatGeneral(r.ScanYEnd));
            Edit131->setText(formatGeneral(r.ScanYStep));
            Edit132->setText(formatGeneral(r.ScanXStart));
            Edit133->setText(formatGeneral(r.ScanXEnd));
            Edit134->setText(formatGeneral(r.ScanXStep));
            break;
        case 17: {
            // Moving a bar runs its handler; the boxes then show the cuts in counts.
            TrackBar1->setValue(mv.MapLowPct);
            TrackBar2->setValue(mv.MapHighPct);
            const int64_t z = mv.MapZMax;
            Edit145->setText(QString::number(z * mv.MapLowPct / 100));
            Edit146->setText(QString::number(z * mv.MapHighPct / 100));
            break;
        }
        case 18:
            Edit141->setText(fromSjis(r.ScanFileName));
            break;
        case 21:
            DrawMap();
            break;
        default:
            break;
    }
}

void Scan2DPage::tickDuty() {
    // Entering the page draws at once; the position displays of motors 1 to 3 follow, then the
    // map is drawn again.
    if (main().currentPageIndex() != st().PreviousTabIndex) DrawMap();
    if (st().Online == 1)
        for (StagePositionBox& p : positions_) p.refresh(stage_, rec(), st().LastMotorStatus);
    DrawMap();
}

void Scan2DPage::Edit141Change() { storeSjis(rec().ScanFileName, Edit141->text()); }

void Scan2DPage::TrackBar2Change() {
    if (TrackBar2->value() < TrackBar1->value()) {
        TrackBar2->setValue(TrackBar1->value() + 1);
        if (TrackBar1->value() == 100) TrackBar1->setValue(99);
    }
    MapDisplayState& mv = st().mapView;
    const int pos = TrackBar2->value();
    Edit146->setText(QString::number(contrastCount(pos, mv.MapZMax)));
    mv.MapHighPct = contrastPercent(pos, mv.MapZMax);
}

void Scan2DPage::TrackBar1Change() {
    if (TrackBar2->value() < TrackBar1->value()) {
        TrackBar1->setValue(TrackBar2->value() - 1);
        if (TrackBar1->value() == 0) TrackBar2->setValue(1);
    }
    MapDisplayState& mv = st().mapView;
    const int pos = TrackBar1->value();
    Edit145->setText(QString::number(contrastCount(pos, mv.MapZMax)));
    mv.MapLowPct = contrastPercent(pos, mv.MapZMax);
}

void Scan2DPage::SpeedButton36Click() { st().mapView.MapUseColour = 1; }

void Scan2DPage::SpeedButton37Click() { st().mapView.MapUseColour = 0; }

void Scan2DPage::SpeedButton38Click() {
    st().mapView.MapZMax = zMaxLowered(st().mapView.MapZMax);
}

void Scan2DPage::SpeedButton46Click() {
    st().mapView.MapZMax = zMaxRaised(st().mapView.MapZMax);
}

void Scan2DPage::SpeedButton49Click() {
    st().mapView.MapZMax =
        largestMapCount(st().maps, st().mapView.MapViewSlot, rec().MapPixelsX, rec().MapPixelsY);
}

void Scan2DPage::SpeedButton47Click() { rec().MapZoom = zoomedIn(rec().MapZoom); }

void Scan2DPage::SpeedButton48Click() { rec().MapZoom = zoomedOut(rec().MapZoom); }

void Scan2DPage::SpeedButton50Click() {
    InfoRecord& r = rec();
    r.MapZoom = 1;
    r.MapViewSize[0] = r.MapPixelsX;
    r.MapViewSize[1] = r.MapPixelsY;
    r.MapViewOrigin[0] = 0;
    r.MapViewOrigin[1] = 0;
}

void Scan2DPage::PaintBoxElemMouseDown(Qt::MouseButton button, int x, int y) {
    (void)button;   // any button picks the slot
    const int slot = legendSlotAt(x, y);
    if (slot < 0) return;
    st().mapView.MapViewSlot = slot;
    svc().alerts.status(legendSlotText(slot));
}

void Scan2DPage::PaintBox2DMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    InfoRecord& r = rec();
    MapDisplayState& mv = st().mapView;
    const MapClickCell c =
        mapCellAt(x, y, PaintBox2D->width(), PaintBox2D->height(), r.MapPixelsX, r.MapPixelsY);
    r.MapCellX = c.cellX;
    r.MapCellY = c.cellY;
    int32_t count = 0;
    if (mapCellInside(mv.MapViewSlot, c.cellX, c.cellY)) {
        count = st().maps.at(mv.MapViewSlot, c.cellX, c.cellY);
    } else {
        // The cell lies beyond the ends of the map arrays: nothing is read there.
        svc().alerts.beep();
        svc().alerts.status(QStringLiteral("2d access (x,y) over"));
    }
    mv.MapReadout = mapReadoutText(c, x, r, mv.MapZMax, count);
    if (mapCellInside(mv.MapViewSlot, c.cellX, c.cellY)) svc().alerts.status(mv.MapReadout);
}

// ---------------------------------------------------------------------------------------------
// Mapping scan

void Scan2DPage::Button65Click() {
    seq_.start([this] {
        // The dialog plays its picture's sound itself; OK arms the scan.
        TOKRightDlg1* confirm = dlg().OKRightDlg1;
        return confirm && svc().dialogs.exec(*confirm) == QDialog::Accepted;
    });
    // Asked and answered, the warning counters start again from 0 and the warning goes away;
    // a start refused by its checks leaves them as they were. A started scan shows its empty
    // labels and its progress at once.
    RedErrorComment->setVisible(seq_.redErrorCommentVisible());
    showScanDisplay();
}

void Scan2DPage::Button66Click() {
    seq_.stop();
    // The stop releases the map display and the Timer2 period; show it at once, as no further
    // scan tick runs.
    showScanDisplay();
}

void Scan2DPage::scanTick() {
    seq_.tick();
    showScanDisplay();
}

namespace {

// Sets a label's text from a fixed-size text when it differs from the one shown.
template <std::size_t N>
void showText(QLabel* label, const char (&now)[N], char (&shown)[N]) {
    if (std::strncmp(now, shown, N) == 0) return;
    std::memcpy(shown, now, N);
    label->setText(QString::fromLatin1(now));
}

QColor queueColour(QueueColour c) {
    switch (c) {
        case QueueColour::Yellow: return Qt::yellow;
        case QueueColour::Red: return Qt::red;
        default: return Qt::white;
    }
}

}  // namespace

void Scan2DPage::showScanDisplay() {
    const ScanDisplay& d = seq_.display();
    main().setTimer2Interval(d.timer2Interval);
    if (shown_.any && d.serial == shown_.serial) return;
    shown_.any = true;
    shown_.serial = d.serial;

    showText(LBstepX, d.stepX, shown_.stepX);
    showText(LBstepY, d.stepY, shown_.stepY);
    showText(LBstepZ, d.stepZ, shown_.stepZ);
    if (std::strncmp(d.errView, shown_.errView, sizeof shown_.errView) != 0) {
        std::memcpy(shown_.errView, d.errView, sizeof shown_.errView);
        ErrView->setText(QString::fromLatin1(d.errView));
    }
    if (d.queueCount != shown_.queueCount) {
        shown_.queueCount = d.queueCount;
        Edit149->setText(QString::number(d.queueCount));
    }
    if (d.queueColour != shown_.queueColour) {
        shown_.queueColour = d.queueColour;
        setBoxColour(Edit149, queueColour(d.queueColour));
    }
    if (d.queueAhead != shown_.queueAhead) {
        shown_.queueAhead = d.queueAhead;
        Edit147->setText(QString::number(d.queueAhead));
    }
    const ScanRun& run = seq_.run();
    if (run.RedCount != shown_.red) {
        shown_.red = run.RedCount;
        LabelRcnt->setText(QString::number(run.RedCount));
    }
    if (run.YellowCount != shown_.yellow) {
        shown_.yellow = run.YellowCount;
        LabelYcnt->setText(QString::number(run.YellowCount));
    }
    if (seq_.redErrorCommentVisible() != RedErrorComment->isVisibleTo(Panel5))
        RedErrorComment->setVisible(seq_.redErrorCommentVisible());
    if (std::strncmp(d.progress, shown_.progress, sizeof shown_.progress) != 0) {
        std::memcpy(shown_.progress, d.progress, sizeof shown_.progress);
        ScanProgressBar->setValue(d.progressPermille);
        ScanProgressBar->setFormat(QString::fromLatin1(d.progress));
    }
    showText(LabelElapsed, d.elapsed, shown_.elapsed);
    showText(LabelLeft, d.left, shown_.left);
    if (d.end != shown_.end || (d.end != ScanEnd::None && LabelScanEnd->text() != d.endText)) {
        shown_.end = d.end;
        LabelScanEnd->setText(d.endText);
        LabelScanEnd->setToolTip(d.endText);
        LabelScanEnd->setStyleSheet(d.end == ScanEnd::Aborted
                                        ? QStringLiteral("font-weight: bold; color: #c00000;")
                                        : QStringLiteral("font-weight: bold;"));
    }
    if (d.rangesChanged) {
        // The display-only ranges follow from the parameters the scan runs with.
        InfoRecord& r = rec();
        deriveXStep(r);
        deriveYRange(r);
        Edit129->setText(formatGeneral(r.ScanYStart));
        Edit130->setText(formatGeneral(r.ScanYEnd));
        Edit131->setText(formatGeneral(r.ScanYStep));
        Edit132->setText(formatGeneral(r.ScanXStart));
        Edit133->setText(formatGeneral(r.ScanXEnd));
        Edit134->setText(formatGeneral(r.ScanXStep));
        Edit136->setText(formatGeneral(r.ZStart));
        Edit137->setText(formatGeneral(r.ZEnd));
        Edit139->setText(formatGeneral(r.ZStep));
        seq_.rangesShown();
    }
}

// ---------------------------------------------------------------------------------------------
// Stage: motors #1 X, #2 Y, #3 Z; only enabled motors, only online (the stage control checks).

void Scan2DPage::connectButtons() {
    using P = Scan2DPage;
    struct Binding {
        QPushButton* button;
        void (P::*handler)();
    };
    const Binding bindings[] = {
        {Button65, &P::Button65Click}, {Button66, &P::Button66Click},
        {ButtonRecoverScan, &P::ButtonRecoverScanClick},
        {Button72, &P::Button29Click}, {Button73, &P::Button28Click},
        {Button71, &P::Button27Click}, {Button69, &P::Button26Click},
        {Button75, &P::Button34Click}, {Button76, &P::Button36Click},
        {Button74, &P::Button74Click}, {Button70, &P::Button70Click},
        {Button77, &P::Button77Click}, {Button63, &P::Button63Click},
        {Button64, &P::Button64Click}, {Button68, &P::Button68Click},
    };
    for (const Binding& b : bindings) connect(b.button, &QPushButton::clicked, this, b.handler);
}

void Scan2DPage::Button29Click() { stage_.jog(1, -rec().JogStepX); }
void Scan2DPage::Button28Click() { stage_.jog(1, rec().JogStepX); }
void Scan2DPage::Button27Click() { stage_.jog(2, -rec().JogStepY); }
void Scan2DPage::Button26Click() { stage_.jog(2, rec().JogStepY); }
void Scan2DPage::Button34Click() { stage_.jog(3, -rec().MotorJogStep[2]); }
void Scan2DPage::Button36Click() { stage_.jog(3, rec().MotorJogStep[2]); }

void Scan2DPage::Button74Click() { stage_.setCounterZero(1); }
void Scan2DPage::Button70Click() { stage_.setCounterZero(2); }
void Scan2DPage::Button77Click() { stage_.setCounterZero(3); }

void Scan2DPage::Button63Click() {
    if (stage_.scanLocks(1, 3)) return;
    for (int n = 1; n <= 3; ++n) stage_.moveToZero(n);
}

void Scan2DPage::Button64Click() {
    if (stage_.scanLocks(1, 2)) return;
    for (int n = 1; n <= 2; ++n) stage_.moveToZero(n);
}

void Scan2DPage::Button68Click() {
    if (stage_.scanLocks(1, 3)) return;
    for (int n = 1; n <= 3; ++n) stage_.halt(n);
}

}  // namespace qor
