#include "analysis/FitSearchBox.h"

#include "app/RadioGroup.h"
#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>

namespace qor {

FitSearchBox::FitSearchBox(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("FitSearchBox"));
    setTitle(QStringLiteral("　ピークサーチの方式　"));
    SearchKind = new RadioGroup(this, "SearchKind", QStringLiteral("自・近の検索"),
                                {QStringLiteral("微分フィルタ（標準）"),
                                 QStringLiteral("フィッティング（重なりピーク分離・誤差付き）")});
    WidthKind = new RadioGroup(this, "WidthKind", QStringLiteral("フィッティングのピーク幅"),
                               {QStringLiteral("分解能曲線に連動"), QStringLiteral("ピークごとに自由")});
    CurveA = makeEdit(this, "CurveA", 72);
    CurveB = makeEdit(this, "CurveB", 72);

    auto* v = new QVBoxLayout(this);
    auto* radios = new QHBoxLayout;
    radios->addWidget(SearchKind);
    radios->addWidget(WidthKind);
    v->addLayout(radios);
    auto* curve = new QHBoxLayout;
    curve->addWidget(makeLabel(this, QStringLiteral("分解能 FWHM² = a + b × ch　a")));
    curve->addWidget(CurveA);
    curve->addWidget(makeLabel(this, QStringLiteral("b")));
    curve->addWidget(CurveB);
    curve->addWidget(makeLabel(this, QStringLiteral("（空欄: 孤立ピークから求める）")));
    curve->addStretch(1);
    v->addLayout(curve);
}

void FitSearchBox::load(const FitSearchSettings& s) {
    SearchKind->setItemIndex(s.fit ? 1 : 0);
    WidthKind->setItemIndex(s.freeWidth ? 1 : 0);
    CurveA->setText(s.curveGiven ? QString::number(s.a, 'g', 10) : QString());
    CurveB->setText(s.curveGiven ? QString::number(s.b, 'g', 10) : QString());
}

void FitSearchBox::store(FitSearchSettings& s) const {
    s.fit = SearchKind->itemIndex() == 1;
    s.freeWidth = WidthKind->itemIndex() == 1;
    bool okA = false, okB = false;
    const double a = CurveA->text().trimmed().toDouble(&okA);
    const double b = CurveB->text().trimmed().toDouble(&okB);
    s.curveGiven = okA && okB && std::isfinite(a + b) && (a > 0 || b > 0);
    s.a = s.curveGiven ? a : 0.0;
    s.b = s.curveGiven ? b : 0.0;
}

}  // namespace qor
