#include "analysis/TTeiseiDlg.h"

#include "analysis/FitSearchBox.h"

#include "app/RadioGroup.h"
#include "app/FieldText.h"
#include "app/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace qor {

TTeiseiDlg::TTeiseiDlg(AppState& st, Services& svc, QWidget* parent)
    : TOKBottomDlg(st, svc, parent) {
    setObjectName(QStringLiteral("TeiseiDlg"));
    setWindowTitle(QStringLiteral("定性処理のパラメータ確認　"));

    // Peak search and automatic ROI parameters.
    GroupBox2 = makeGroup(Body, "GroupBox2", QStringLiteral("　ピークサーチ・自動ROI パラメータ―　"));
    RadioGroup1 = new RadioGroup(GroupBox2, "RadioGroup1", QStringLiteral("ピーク幅の設定"),
                                 {QStringLiteral("ピーク構成　10ch以下"),
                                  QStringLiteral("ピーク構成　30ch以下"),
                                  QStringLiteral("ピーク構成　100ch..")});
    RadioGroup2 = new RadioGroup(GroupBox2, "RadioGroup2", QStringLiteral("ピークサーチ微分パラメータ"),
                                 {QStringLiteral("ガウス　7点"), QStringLiteral("ガウス　9点"),
                                  QStringLiteral("ガウス 13点"), QStringLiteral("多項式　7点"),
                                  QStringLiteral("多項式　9点"), QStringLiteral("多項式　13点"),
                                  QStringLiteral("点数指定")},
                                 2);
    RadioGroup3 = new RadioGroup(GroupBox2, "RadioGroup3", QStringLiteral("判定基準σ"),
                                 {QStringLiteral("1.5"), QStringLiteral("2.0"), QStringLiteral("2.5"),
                                  QStringLiteral("3.0"), QStringLiteral("3.5"), QStringLiteral("4.0"),
                                  QStringLiteral("4.5"), QStringLiteral("5.0")},
                                 2);
    Edit1 = makeEdit(GroupBox2, "Edit1", 64);
    Edit3 = makeEdit(GroupBox2, "Edit3", 64);

    auto* g2 = new QVBoxLayout(GroupBox2);
    auto* radios = new QHBoxLayout;
    radios->addWidget(RadioGroup1);
    radios->addWidget(RadioGroup2);
    radios->addWidget(RadioGroup3);
    g2->addLayout(radios);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(makeLabel(GroupBox2, QStringLiteral("微分パラメータ点数指定の時")));
    numbers->addWidget(Edit1);
    numbers->addSpacing(24);
    numbers->addWidget(makeLabel(GroupBox2, QStringLiteral("予想半値幅")));
    numbers->addWidget(Edit3);
    numbers->addWidget(makeLabel(GroupBox2, QStringLiteral("ch")));
    numbers->addStretch(1);
    g2->addLayout(numbers);
    body()->addWidget(GroupBox2);
    FitBox = new FitSearchBox(Body);
    body()->addWidget(FitBox);

    // Smoothing.
    GroupBox3 = makeGroup(Body, "GroupBox3", QStringLiteral("　データスムース処理　"));
    RadioGroup6 = new RadioGroup(GroupBox3, "RadioGroup6", QStringLiteral("　ピーク幅　"),
                                 {QStringLiteral("Ge,Siなどのピーク"),
                                  QStringLiteral("NaIの様な幅広いピーク")});
    RadioGroup4 = new RadioGroup(GroupBox3, "RadioGroup4", QStringLiteral("フィルタの選択"),
                                 {QStringLiteral("単純1-2-1"), QStringLiteral("多項式"),
                                  QStringLiteral("移動平均")});
    RadioGroup5 = new RadioGroup(GroupBox3, "RadioGroup5", QStringLiteral("平滑点数"),
                                 {QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("9")});
    GroupBox1 = makeGroup(GroupBox3, "GroupBox1", QStringLiteral("移動平均点数"));
    Edit2 = makeEdit(GroupBox1, "Edit2", 64);
    auto* g1 = new QHBoxLayout(GroupBox1);
    g1->addWidget(Edit2);
    g1->addWidget(makeLabel(GroupBox1, QStringLiteral("点平均で実行する")));
    g1->addStretch(1);

    auto* g3 = new QVBoxLayout(GroupBox3);
    auto* smooth = new QHBoxLayout;
    smooth->addWidget(RadioGroup6);
    smooth->addWidget(RadioGroup4);
    smooth->addWidget(RadioGroup5);
    g3->addLayout(smooth);
    auto* lower = new QHBoxLayout;
    lower->addWidget(GroupBox1, 0, Qt::AlignTop);
    auto* notes = new QVBoxLayout;
    notes->addWidget(makeLabel(GroupBox3, QStringLiteral("ピーク構成点数が多い検出器の場合は単純1-2-1を選択し")));
    notes->addWidget(makeLabel(GroupBox3, QStringLiteral("適当な奇数の点数を指定してください。")));
    notes->addWidget(makeLabel(GroupBox3, QStringLiteral("結果スペクトルはWorkスペクトルに入ります")));
    lower->addSpacing(12);
    lower->addLayout(notes, 1);
    g3->addLayout(lower);
    body()->addWidget(GroupBox3);

    Image1 = named(new QLabel(this), "Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(40, 40));
    bottomLeft()->addWidget(Image1);
}

void TTeiseiDlg::loadFromRecord() {
    const InfoRecord& r = st_.rec;
    RadioGroup1->setItemIndex(r.PeakWidthIndex);
    RadioGroup2->setItemIndex(r.DerivFilterIndex);
    RadioGroup3->setItemIndex(r.SigmaIndex);
    RadioGroup4->setItemIndex(r.SmoothFilter);
    RadioGroup5->setItemIndex(r.SmoothPointsIndex);
    Edit1->setText(QString::number(r.DerivPoints));
    Edit2->setText(QString::number(r.SmoothAveragePoints));
    Edit3->setText(QString::number(r.ExpectedFwhm));
    FitBox->load(FitSearchSettings::read(st_.settings));
}

void TTeiseiDlg::storeToRecord() {
    InfoRecord& r = st_.rec;
    const auto keepIndex = [](const RadioGroup* g, int32_t& field) {
        if (g->itemIndex() >= 0) field = g->itemIndex();
    };
    keepIndex(RadioGroup1, r.PeakWidthIndex);
    keepIndex(RadioGroup2, r.DerivFilterIndex);
    keepIndex(RadioGroup3, r.SigmaIndex);
    keepIndex(RadioGroup4, r.SmoothFilter);
    keepIndex(RadioGroup5, r.SmoothPointsIndex);
    storeInt(Edit1->text(), r.DerivPoints);
    storeInt(Edit3->text(), r.ExpectedFwhm);
    storeInt(Edit2->text(), r.SmoothAveragePoints);
    FitSearchSettings f = FitSearchSettings::read(st_.settings);
    FitBox->store(f);
    f.write(st_.settings);
}

}  // namespace qor
