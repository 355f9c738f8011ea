#pragma once

#include <QLineEdit>
#include <QString>

class QToolButton;

namespace ui {

class FileDialogs;
class MessageBoxes;

// A box that holds the path of a database file. The user cannot type in it but can select
// and copy its text; the path changes only through the browse button (or Alt+Down), a
// dropped file, or the program.
class FilenameEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 30;

    FilenameEdit(FileDialogs& dialogs, MessageBoxes& boxes, QWidget* parent);

    // Opens the open-file dialog and takes the chosen path; the focus returns to the box.
    void browse();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void placeButton();

    FileDialogs& dialogs_;
    MessageBoxes& boxes_;
    QToolButton* button_;
    // Where the dialog opens when the box's text names no existing folder.
    QString dialogFolder_;
};

}  // namespace ui
