#include "scan/MapToolsPanel.h"

#include "app/Widgets.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <algorithm>

namespace qor {

MapToolsPanel::MapToolsPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Scan2DMapTools"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    ButtonMapPicture = makeButton(this, "ButtonMapPicture", QStringLiteral("PNG保存"),
                                  QStringLiteral("表示中のマップを目盛りとカラーバー付きのPNGで保存"));
    CheckPictureAll = makeCheck(this, "CheckPictureAll", QStringLiteral("全元素"));
    CheckPictureAll->setToolTip(QStringLiteral("有効な全スロットのマップを一度に保存"));
    CheckAutoPicture = makeCheck(this, "CheckAutoPicture", QStringLiteral("パス終了時にPNG"));
    CheckAutoPicture->setToolTip(
        QStringLiteral("各パスの終わりにCSVファイルの横へマップのPNGも書く"));
    CheckOverlay = makeCheck(this, "CheckOverlay", QStringLiteral("RGB重ね表示"));
    CheckOverlay->setToolTip(QStringLiteral("3元素を赤・緑・青で重ねて表示"));
    grid->addWidget(ButtonMapPicture, 0, 0, 1, 2);
    grid->addWidget(CheckPictureAll, 0, 2, 1, 2);
    grid->addWidget(CheckAutoPicture, 1, 0, 1, 4);
    grid->addWidget(CheckOverlay, 2, 0, 1, 4);
    static const char* const kCombo[3] = {"ComboOverlayR", "ComboOverlayG", "ComboOverlayB"};
    static const char* const kLow[3] = {"EditOverlayLowR", "EditOverlayLowG", "EditOverlayLowB"};
    static const char* const kHigh[3] = {"EditOverlayHighR", "EditOverlayHighG",
                                         "EditOverlayHighB"};
    static const char* const kColour[3] = {"R", "G", "B"};
    static const char* const kStyle[3] = {"color: #c00000; font-weight: bold;",
                                          "color: #008000; font-weight: bold;",
                                          "color: #0000c0; font-weight: bold;"};
    for (int k = 0; k < 3; ++k) {
        QLabel* l = makeLabel(this, QString::fromLatin1(kColour[k]));
        l->setStyleSheet(QString::fromLatin1(kStyle[k]));
        ComboOverlay[k] = makeCombo(this, kCombo[k], {});
        EditOverlayLow[k] = makeEdit(this, kLow[k], 44);
        EditOverlayHigh[k] = makeEdit(this, kHigh[k], 54);
        EditOverlayLow[k]->setToolTip(QStringLiteral("下限カウント"));
        EditOverlayHigh[k]->setToolTip(QStringLiteral("上限カウント (0: 最大カウント)"));
        for (QLineEdit* e : {EditOverlayLow[k], EditOverlayHigh[k]}) {
            e->setValidator(new QIntValidator(0, 2147483647, e));
            e->setAlignment(Qt::AlignRight);
            e->setText(QStringLiteral("0"));
        }
        grid->addWidget(l, 3 + k, 0);
        grid->addWidget(ComboOverlay[k], 3 + k, 1);
        grid->addWidget(EditOverlayLow[k], 3 + k, 2);
        grid->addWidget(EditOverlayHigh[k], 3 + k, 3);
    }
    grid->setColumnStretch(1, 1);
}

void MapToolsPanel::setSlotNames(const QStringList& names) {
    for (QComboBox* c : ComboOverlay) {
        const int index = c->currentIndex();
        c->clear();
        for (int i = 0; i < names.size(); ++i)
            c->addItem(QStringLiteral("%1 %2").arg(i + 1).arg(names[i]));
        c->setCurrentIndex(std::max(0, index));
    }
}

}  // namespace qor
