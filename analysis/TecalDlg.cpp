#include "analysis/TecalDlg.h"

#include "analysis/CalibPlot.h"
#include "analysis/CalibReference.h"
#include "analysis/LineTable.h"
#include "app/RadioGroup.h"
#include "app/FieldText.h"
#include "app/PaintBox.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace qor {

TecalDlg::TecalDlg(AppState& st, Services& svc, QWidget* parent) : TOKBottomDlg(st, svc, parent) {
    setObjectName(QStringLiteral("ecalDlg"));
    setWindowTitle(QStringLiteral("エネルギー校正"));

    GroupBox1 = makeGroup(Body, "GroupBox1", QStringLiteral("ROI#1..8のエネルギー指定"));
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(14);
    rows->setVerticalSpacing(3);
    rows->addWidget(makeLabel(GroupBox1, QStringLiteral("ROI#")), 0, 0);
    rows->addWidget(makeLabel(GroupBox1, QStringLiteral("peakch")), 0, 1, Qt::AlignRight);
    rows->addWidget(makeLabel(GroupBox1, QStringLiteral("energy")), 0, 2);

    static const char* const checkNames[kRows] = {"CheckBox1", "CheckBox2", "CheckBox3",
                                                  "CheckBox4", "CheckBox5", "CheckBox6",
                                                  "CheckBox7", "CheckBox8"};
    static const char* const labelNames[kRows] = {"Label3", "Label4", "Label5", "Label6",
                                                  "Label7", "Label8", "Label9", "Label10"};
    static const char* const lineButtonNames[kRows] = {"LineButton1", "LineButton2", "LineButton3",
                                                       "LineButton4", "LineButton5", "LineButton6",
                                                       "LineButton7", "LineButton8"};
    static const char* const editNames[kRows] = {"Edit1", "Edit2", "Edit3", "Edit4",
                                                 "Edit5", "Edit6", "Edit7", "Edit8"};
    for (int i = 0; i < kRows; ++i) {
        checks_[i] = makeCheck(GroupBox1, checkNames[i], QStringLiteral("ROI-%1").arg(i + 1));
        channels_[i] = makeLabel(GroupBox1, QStringLiteral("0"), labelNames[i]);
        channels_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        channels_[i]->setMinimumWidth(56);
        energies_[i] = makeEdit(GroupBox1, editNames[i], 110);
        rows->addWidget(checks_[i], i + 1, 0);
        rows->addWidget(channels_[i], i + 1, 1);
        rows->addWidget(energies_[i], i + 1, 2);
        // Fills the box from the line tables (read when first opened).
        lineButtons_[i] = named(new QToolButton(GroupBox1), lineButtonNames[i]);
        lineButtons_[i]->setText(QStringLiteral("▼"));
        lineButtons_[i]->setToolTip(QStringLiteral("元素や核種の線のエネルギーを入れる"));
        lineButtons_[i]->setPopupMode(QToolButton::InstantPopup);
        rows->addWidget(lineButtons_[i], i + 1, 3);
        const int k = i + 1;
        connect(lineButtons_[i], &QToolButton::pressed, this, [this, k] {
            QToolButton* b = lineButtons_[k - 1];
            if (!b->menu()) b->setMenu(lineMenu(k));
        });
    }
    CheckBox1 = checks_[0]; CheckBox2 = checks_[1]; CheckBox3 = checks_[2]; CheckBox4 = checks_[3];
    CheckBox5 = checks_[4]; CheckBox6 = checks_[5]; CheckBox7 = checks_[6]; CheckBox8 = checks_[7];
    Label3 = channels_[0]; Label4 = channels_[1]; Label5 = channels_[2]; Label6 = channels_[3];
    Label7 = channels_[4]; Label8 = channels_[5]; Label9 = channels_[6]; Label10 = channels_[7];
    Edit1 = energies_[0]; Edit2 = energies_[1]; Edit3 = energies_[2]; Edit4 = energies_[3];
    Edit5 = energies_[4]; Edit6 = energies_[5]; Edit7 = energies_[6]; Edit8 = energies_[7];

    RadioGroup1 = new RadioGroup(GroupBox1, "RadioGroup1", QStringLiteral("校正式"),
                                 {QStringLiteral("1次式"), QStringLiteral("2次式"),
                                  QStringLiteral("3次式")},
                                 3);
    Edit9 = makeEdit(GroupBox1, "Edit9", 80);
    Edit9->setMaxLength(15);   // the unit field holds 15 bytes and its NUL
    Button1 = makeButton(GroupBox1, "Button1", QStringLiteral("この条件で校正式を算出する"));
    connect(Button1, &QPushButton::clicked, this, &TecalDlg::Button1Click);

    auto* unit = new QHBoxLayout;
    unit->addWidget(makeLabel(GroupBox1, QStringLiteral("エネルギーの単位")));
    unit->addWidget(Edit9);
    unit->addStretch(1);

    auto* g1 = new QVBoxLayout(GroupBox1);
    g1->addLayout(rows);
    g1->addWidget(RadioGroup1);
    g1->addLayout(unit);
    g1->addWidget(Button1);

    // Coefficients and plot, outside the group.
    Edit10 = makeEdit(Body, "Edit10", 170);
    Edit11 = makeEdit(Body, "Edit11", 170);
    Edit12 = makeEdit(Body, "Edit12", 170);
    Edit13 = makeEdit(Body, "Edit13", 170);
    auto* coef = new QGridLayout;
    coef->addWidget(makeLabel(Body, QStringLiteral("a=")), 0, 0, Qt::AlignRight);
    coef->addWidget(Edit10, 0, 1);
    coef->addWidget(makeLabel(Body, QStringLiteral("b=")), 1, 0, Qt::AlignRight);
    coef->addWidget(Edit11, 1, 1);
    coef->addWidget(makeLabel(Body, QStringLiteral("c=")), 2, 0, Qt::AlignRight);
    coef->addWidget(Edit12, 2, 1);
    coef->addWidget(makeLabel(Body, QStringLiteral("d=")), 3, 0, Qt::AlignRight);
    coef->addWidget(Edit13, 3, 1);
    coef->setColumnStretch(2, 1);

    Imageecal = named(new PaintBox(Body), "Imageecal");
    Imageecal->setFixedSize(kPlotSize, kPlotSize);
    QImage plot(kPlotSize, kPlotSize, QImage::Format_RGB32);
    plot.fill(Qt::white);
    {
        QPainter p(&plot);
        QPen pen(Qt::black, 0);   // cosmetic, one pixel
        p.setPen(pen);
        p.drawRect(0, 0, kPlotSize - 1, kPlotSize - 1);
    }
    Imageecal->showImage(plot);

    auto* right = new QVBoxLayout;
    right->addWidget(makeLabel(Body, QStringLiteral(" f(x)= a + bx + cx^2 +dx^3")));
    right->addLayout(coef);
    right->addSpacing(8);
    right->addWidget(Imageecal, 0, Qt::AlignHCenter);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addWidget(GroupBox1, 0, Qt::AlignTop);
    columns->addSpacing(8);
    columns->addLayout(right, 1);
    body()->addLayout(columns);
}

QCheckBox* TecalDlg::rowCheck(int k) const { return (k >= 1 && k <= kRows) ? checks_[k - 1] : nullptr; }
QLabel* TecalDlg::rowChannel(int k) const { return (k >= 1 && k <= kRows) ? channels_[k - 1] : nullptr; }
QLineEdit* TecalDlg::rowEnergy(int k) const { return (k >= 1 && k <= kRows) ? energies_[k - 1] : nullptr; }

bool TecalDlg::prepare(int slot) {
    if (slot < 0 || slot >= kSlotCount) return false;
    slot_ = slot;
    const InfoRecord& r = st_.rec;
    const int32_t* counts = st_.spectrum.slot[slot];
    for (int k = 1; k <= kRows; ++k) {
        const int32_t ch = calibReferenceChannel(counts, kSlotChannels, r.RoiStart[slot][k],
                                                 r.RoiEnd[slot][k]);
        RefChannel[k] = ch;
        checks_[k - 1]->setChecked(ch != 0);
        channels_[k - 1]->setText(QString::number(ch));
    }
    for (int k = 1; k <= kRows; ++k) {
        RefEnergy[k] = r.CalibEnergy[slot][k];
        energies_[k - 1]->setText(formatC("%10.3lf", r.CalibEnergy[slot][k]));
    }
    RadioGroup1->setItemIndex(r.CalibOrder[slot]);
    Edit9->setText(fromSjis(r.EnergyUnit[slot]));
    ComputedA = r.CalibA[slot];
    ComputedB = r.CalibB[slot];
    ComputedC = r.CalibC[slot];
    ComputedD = r.CalibD[slot];
    Edit10->setText(formatGeneral(ComputedA));
    Edit11->setText(formatGeneral(ComputedB));
    Edit12->setText(formatGeneral(ComputedC));
    Edit13->setText(formatGeneral(ComputedD));
    return true;
}

const char* const TecalDlg::kFitRefusedText =
    "校正式を算出できません。チェックしたROIのピークchが、式の次数+1 種類以上必要です"
    "（エネルギーは数値で指定してください）。";

void TecalDlg::Button1Click() {
    double x[16] = {};
    double y[16] = {};
    int n = 0;
    for (int k = 1; k <= kRows; ++k) {
        if (!checks_[k - 1]->isChecked()) continue;
        // The energy now in the row's box; a text that is not a number keeps the energy the
        // dialog was prepared with.
        double e = RefEnergy[k];
        storeDouble(energies_[k - 1]->text(), e);
        x[n] = RefChannel[k];
        y[n] = e;
        ++n;
    }
    const int order = RadioGroup1->itemIndex();
    if (order >= 0 && order <= 2) {
        if (Merin.FitPolynomial(x, y, n, order + 1) < 0) {
            svc_.alerts.message(QString::fromUtf8(kFitRefusedText));
            return;
        }
        std::copy(x, x + 16, FitX);
        std::copy(y, y + 16, FitY);
    }
    // With no order chosen no fit is made: the coefficients of the engine's last fit are shown.
    Merin.GetCoefficient(0, ComputedA);
    Merin.GetCoefficient(1, ComputedB);
    Merin.GetCoefficient(2, ComputedC);
    Merin.GetCoefficient(3, ComputedD);
    Edit10->setText(formatGeneral(ComputedA));
    Edit11->setText(formatGeneral(ComputedB));
    Edit12->setText(formatGeneral(ComputedC));
    Edit13->setText(formatGeneral(ComputedD));
    const double coef[4] = {ComputedA, ComputedB, ComputedC, ComputedD};
    QImage plot(kPlotSize, kPlotSize, QImage::Format_RGB32);
    drawCalibPlot(plot, x, y, n, coef, Edit9->text());
    Imageecal->showImage(plot);
}

void TecalDlg::fillRowFromLine(int k, double energyKeV) {
    QLineEdit* box = rowEnergy(k);
    if (!box) return;
    const QString unit = Edit9->text().trimmed();
    double v = energyKeV;
    if (unit.compare(QLatin1String("eV"), Qt::CaseInsensitive) == 0) v *= 1000.0;
    if (unit.compare(QLatin1String("MeV"), Qt::CaseInsensitive) == 0) v /= 1000.0;
    box->setText(formatC("%10.3lf", v));
}

QMenu* TecalDlg::lineMenu(int k) {
    auto* menu = new QMenu(this);
    // Elements in groups of rows of the periodic table, then the radionuclides.
    const LineTable& xt = LineTable::xray();
    QMenu* group = nullptr;
    for (int i = 0; i < static_cast<int>(xt.sources().size()); ++i) {
        if (i % 12 == 0) {
            const int last = std::min<int>(i + 11, static_cast<int>(xt.sources().size()) - 1);
            group = menu->addMenu(QString::fromStdString(xt.sources()[i].name + " - " +
                                                         xt.sources()[last].name));
        }
        QMenu* element = group->addMenu(QString::fromStdString(xt.sources()[i].name));
        for (const SpectralLine& l : xt.linesOf(i)) {
            if (l.relative < 0.05) continue;
            const double e = l.energyKeV;
            element->addAction(QStringLiteral("%1  %2 keV")
                                   .arg(QString::fromStdString(l.label))
                                   .arg(e, 0, 'f', 3),
                               this, [this, k, e] { fillRowFromLine(k, e); });
        }
    }
    QMenu* nuclides = menu->addMenu(QStringLiteral("γ / radionuclides"));
    const LineTable& gt = LineTable::gamma();
    for (int i = 0; i < static_cast<int>(gt.sources().size()); ++i) {
        QMenu* n = nuclides->addMenu(QString::fromStdString(gt.sources()[i].name));
        for (const SpectralLine& l : gt.linesOf(i)) {
            if (l.relative < 0.01) continue;
            const double e = l.energyKeV;
            n->addAction(QStringLiteral("%1  %2 keV").arg(QString::fromStdString(l.label)).arg(e, 0, 'f', 3),
                         this, [this, k, e] { fillRowFromLine(k, e); });
        }
    }
    return menu;
}

bool TecalDlg::storeToRecord() {
    if (slot_ < 0 || slot_ >= kSlotCount) return false;
    InfoRecord& r = st_.rec;
    for (int k = 1; k <= kRows; ++k) storeDouble(energies_[k - 1]->text(), r.CalibEnergy[slot_][k]);
    storeSjis(r.EnergyUnit[slot_], Edit9->text());
    if (RadioGroup1->itemIndex() >= 0) r.CalibOrder[slot_] = RadioGroup1->itemIndex();
    r.CalibA[slot_] = ComputedA;
    r.CalibB[slot_] = ComputedB;
    r.CalibC[slot_] = ComputedC;
    r.CalibD[slot_] = ComputedD;
    return true;
}

}  // namespace qor
