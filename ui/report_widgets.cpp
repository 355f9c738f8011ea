#include "report_widgets.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

namespace ui {

QLabel* boldTitle(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QTableWidget* readOnlyTable(QWidget* parent, int columns, const QString& objectName) {
    auto* table = new QTableWidget(0, columns, parent);
    table->setObjectName(objectName);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

int fitColumnsToContents(QTableWidget* table) {
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(false);
    table->resizeColumnsToContents();
    // The room a vertical scroll bar takes as the platform's style draws it.
    const QStyle* style = table->style();
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table->verticalScrollBar()) +
                          style->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing, nullptr, table);
    int width = 2 * table->frameWidth() + scrollBar;
    for (int column = 0; column < table->columnCount(); ++column) width += table->columnWidth(column);
    header->setStretchLastSection(true);
    return width;
}

QSize widenedFor(const QWidget* view, QSize hint, int tableWidth) {
    int width = tableWidth;
    if (const QLayout* layout = view->layout()) {
        const QMargins margins = layout->contentsMargins();
        width += margins.left() + margins.right();
    }
    return {std::max(hint.width(), width), hint.height()};
}

}  // namespace ui
