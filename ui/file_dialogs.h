#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// What the open-file dialog of a file-name box is asked to show.
struct OpenFileRequest {
    QString title;
    QStringList filters;     // "Name (*.ext)", in the order shown
    QString selectedFilter;  // one of filters
    QString folder;          // empty: the platform chooses
    QString proposedName;    // empty: no name is proposed

    friend bool operator==(const OpenFileRequest&, const OpenFileRequest&) = default;
};

// The open-file and save-file dialogs behind one object: the desktop shows the real dialog, tests answer
// from a script.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file's full path; nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) = 0;
    // The full path the user chose to save to; nothing when he cancelled.
    virtual std::optional<QString> saveFile(QWidget* owner, const OpenFileRequest& request) = 0;
};

// The platform's dialogs. It has no read-only option to hide.
class DesktopFileDialogs final : public FileDialogs {
public:
    std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) override;
    std::optional<QString> saveFile(QWidget* owner, const OpenFileRequest& request) override;
};

}  // namespace ui
