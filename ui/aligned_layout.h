#pragma once

#include <memory>
#include <vector>

#include <QLayout>

namespace ui {

// Places widgets along the edges of their parent in the way of docked panels: all top ones
// first, then the bottom, left and right ones, each keeping its own height (top, bottom) or
// width (left, right) and taking the whole length of what is left; the client item gets the
// rest. Imposes no minimum size: what does not fit is cut off.
class AlignedLayout : public QLayout {
    Q_OBJECT
public:
    enum class Edge { Top, Bottom, Left, Right, Client };

    explicit AlignedLayout(QWidget* parent);
    ~AlignedLayout() override;

    // Docks the widget to the edge with its current height or width.
    void addWidget(QWidget* widget, Edge edge);

    // Items added through QLayout take the client area.
    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        std::unique_ptr<QLayoutItem> item;
        Edge edge;
        int extent;  // height along the top and bottom, width along the sides
    };
    std::vector<Entry> entries_;
};

}  // namespace ui
