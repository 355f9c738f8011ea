#include "file_dialogs.h"

#include <QFileDialog>

namespace ui {

std::optional<QString> DesktopFileDialogs::openFile(QWidget* owner, const OpenFileRequest& request) {
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The name is not required to exist: a wrong one is reported when the database is attached.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.selectNameFilter(request.selectedFilter);
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> DesktopFileDialogs::saveFile(QWidget* owner, const OpenFileRequest& request) {
    QFileDialog dialog(owner, request.title, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(request.filters);
    dialog.selectNameFilter(request.selectedFilter);
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace ui
