#include "bevel_panel.h"

#include <QPainter>

namespace ui {

BevelPanel::BevelPanel(Bevel outer, Bevel inner, QWidget* parent) : QWidget(parent), outer_(outer), inner_(inner) {
    setAutoFillBackground(true);
}

int BevelPanel::bevelWidth() const { return (outer_ != Bevel::None ? 1 : 0) + (inner_ != Bevel::None ? 1 : 0); }

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect edge = rect();
    for (const Bevel bevel : {outer_, inner_}) {
        if (bevel == Bevel::None) continue;
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        const QColor topLeft = bevel == Bevel::Raised ? light : dark;
        const QColor bottomRight = bevel == Bevel::Raised ? dark : light;
        painter.setPen(topLeft);
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
        edge.adjust(1, 1, -1, -1);
    }
}

}  // namespace ui
