#pragma once

#include <QSize>
#include <QString>

class QLabel;
class QTableWidget;
class QWidget;

namespace ui {

// The pieces the outcome view and the comparison view are both made of.

// The view's title line, in bold, named objectName.
QLabel* boldTitle(QWidget* parent, const QString& objectName);

// A table of figures that is read, not edited: no row numbers, the last column taking the
// width that is left.
QTableWidget* readOnlyTable(QWidget* parent, int columns, const QString& objectName);

// Sizes each column of the table to its contents (the last one then stretches again) and returns
// the width the table needs to show them all without scrolling sideways, with room for a
// vertical scroll bar.
int fitColumnsToContents(QTableWidget* table);

// The size hint of a view that shows a table needing tableWidth: at least as wide as that.
QSize widenedFor(const QWidget* view, QSize hint, int tableWidth);

}  // namespace ui
