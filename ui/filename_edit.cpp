#include "filename_edit.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

#include "file_dialogs.h"
#include "file_names.h"
#include "message_boxes.h"
#include "pictures.h"

namespace ui {

namespace {

// Dropped paths are cut to this many characters.
constexpr qsizetype kDroppedPathLength = 254;

// The first local file among the dropped items; empty when there is none.
QString firstDroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

}  // namespace

FilenameEdit::FilenameEdit(FileDialogs& dialogs, MessageBoxes& boxes, QWidget* parent)
    : QLineEdit(parent), dialogs_(dialogs), boxes_(boxes), button_(new QToolButton(this)) {
    setReadOnly(true);
    setAcceptDrops(true);
    setTextMargins(0, 0, kButtonWidth, 0);
    button_->setObjectName(QStringLiteral("BrowseButton"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setIcon(browsePicture());
    connect(button_, &QToolButton::clicked, this, &FilenameEdit::browse);
    placeButton();
}

void FilenameEdit::browse() {
    const std::optional<QString> chosen = dialogs_.openFile(this, openFileRequest(text(), dialogFolder_));
    if (chosen) {
        setText(quotedWhenBlank(*chosen));
        dialogFolder_ = folderOf(*chosen);
    }
    setFocus();
}

void FilenameEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier) {
        browse();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilenameEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeButton();
}

void FilenameEdit::placeButton() {
    // The button fills the right end of the box inside its frame.
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    button_->setGeometry(width() - frame - kButtonWidth, frame, kButtonWidth, height() - 2 * frame);
}

// A read-only line edit refuses drops; files are taken here instead of text.
void FilenameEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (firstDroppedFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void FilenameEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (firstDroppedFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void FilenameEdit::dropEvent(QDropEvent* event) {
    const QString path = firstDroppedFile(event->mimeData()).left(kDroppedPathLength);
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    // The name is checked before the drop is accepted, so that the drag source sees a
    // refused name as a refused drop.
    if (!isValidFileName(nameOfText(path))) {
        event->ignore();
        boxes_.showError("Invalid file name - " + path.toStdString());
        return;
    }
    event->acceptProposedAction();
    setText(quotedWhenBlank(path));
}

}  // namespace ui
