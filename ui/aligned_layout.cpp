#include "aligned_layout.h"

#include <algorithm>

#include <QWidget>

namespace ui {

AlignedLayout::AlignedLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

AlignedLayout::~AlignedLayout() = default;

void AlignedLayout::addWidget(QWidget* widget, Edge edge) {
    addChildWidget(widget);
    const int extent = edge == Edge::Top || edge == Edge::Bottom ? widget->height() : widget->width();
    entries_.push_back({std::make_unique<QWidgetItem>(widget), edge, extent});
    invalidate();
}

void AlignedLayout::addItem(QLayoutItem* item) {
    entries_.push_back({std::unique_ptr<QLayoutItem>(item), Edge::Client, 0});
    invalidate();
}

int AlignedLayout::count() const { return static_cast<int>(entries_.size()); }

QLayoutItem* AlignedLayout::itemAt(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].item.get();
}

QLayoutItem* AlignedLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    const auto at = entries_.begin() + index;
    QLayoutItem* item = at->item.release();
    entries_.erase(at);
    invalidate();
    return item;
}

QSize AlignedLayout::sizeHint() const {
    int width = 0;
    int height = 0;
    for (const Entry& entry : entries_) {
        if (entry.edge == Edge::Top || entry.edge == Edge::Bottom) height += entry.extent;
        if (entry.edge == Edge::Left || entry.edge == Edge::Right) width += entry.extent;
    }
    const QMargins margins = contentsMargins();
    return {width + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

QSize AlignedLayout::minimumSize() const { return {0, 0}; }

void AlignedLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QRect rest = rect.marginsRemoved(contentsMargins());
    for (const Edge edge : {Edge::Top, Edge::Bottom, Edge::Left, Edge::Right, Edge::Client}) {
        for (const Entry& entry : entries_) {
            if (entry.edge != edge) continue;
            const int extent = entry.extent;
            switch (edge) {
            case Edge::Top:
                entry.item->setGeometry(QRect(rest.left(), rest.top(), rest.width(), extent));
                rest.setTop(rest.top() + extent);
                break;
            case Edge::Bottom:
                entry.item->setGeometry(QRect(rest.left(), rest.bottom() + 1 - extent, rest.width(), extent));
                rest.setBottom(rest.bottom() - extent);
                break;
            case Edge::Left:
                entry.item->setGeometry(QRect(rest.left(), rest.top(), extent, std::max(0, rest.height())));
                rest.setLeft(rest.left() + extent);
                break;
            case Edge::Right:
                entry.item->setGeometry(
                    QRect(rest.right() + 1 - extent, rest.top(), extent, std::max(0, rest.height())));
                rest.setRight(rest.right() - extent);
                break;
            case Edge::Client:
                entry.item->setGeometry(
                    QRect(rest.topLeft(), QSize(std::max(0, rest.width()), std::max(0, rest.height()))));
                break;
            }
        }
    }
}

}  // namespace ui
