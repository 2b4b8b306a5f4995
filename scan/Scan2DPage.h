#pragma once
// 2D SCAN page: element map, 2D map, scan panel.

#include "app/Page.h"
#include "app/PaintBox.h"

namespace qor {

class Scan2DPage : public Page {
    Q_OBJECT
public:
    Scan2DPage(PageContext ctx, QWidget* parent);

    // Places the element map area and the 2D map area (paint areas and their images).
    void setMapAreas(QRect elementMap, QRect map2D);
    void DrawMap();

    PaintBox* PaintBoxElem = nullptr;
    QImage ImageElem;
    PaintBox* PaintBox2D = nullptr;
    QImage Image2D;
    QWidget* Panel5 = nullptr;
};

}  // namespace qor
