#pragma once

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

}  // namespace ui
