#include "report_widgets.h"

#include <QHeaderView>
#include <QLabel>
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

}  // namespace ui
