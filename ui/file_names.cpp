#include "file_names.h"

#include <QFileInfo>

namespace ui {

namespace {

bool isBlank(QChar c) { return c.unicode() <= 32; }

}  // namespace

bool isValidFileName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (QStringLiteral("<>\"[]|").contains(c)) return false;
    return true;
}

QString firstCommandLineItem(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    QString item;
    bool quoted = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (isBlank(c) && !quoted)
            break;
        else
            item += c;
    }
    return item;
}

QString nameOfText(const QString& text) {
    if (!text.isEmpty() && QFileInfo(text).isFile()) return text;
    return firstCommandLineItem(text);
}

QString quotedWhenBlank(const QString& path) {
    if (path.contains(u' ') && !path.startsWith(u'"')) return u'"' + path + u'"';
    return path;
}

QString folderOf(const QString& path) { return path.left(path.lastIndexOf(u'/') + 1); }

OpenFileRequest openFileRequest(const QString& boxText, const QString& rememberedFolder) {
    OpenFileRequest request;
    request.title = QStringLiteral("Browse");
    request.filters = {QStringLiteral("Arquivos GDB (*.gdb)"), QStringLiteral("Arquivos FDB (*.fdb)")};
    request.selectedFilter = request.filters.constFirst();
    request.folder = rememberedFolder;

    const QString name = nameOfText(boxText);
    if (!isValidFileName(name)) return request;
    const QString folder = folderOf(name);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) request.folder = folder;
    const QString filePart = name.mid(folder.size());
    if (isValidFileName(filePart)) request.proposedName = filePart;
    return request;
}

}  // namespace ui
