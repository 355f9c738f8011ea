#pragma once

#include <QString>

#include "file_dialogs.h"

namespace ui {

// Rules of the file-name boxes for the texts they hold, pick and accept.

// Not empty, and none of the characters < > " [ ] |.
bool isValidFileName(const QString& name);

// The first item of a text read like a command line: leading blanks skipped, then the
// characters up to the next blank, where a part in double quotation marks may hold blanks and
// loses its marks.
QString firstCommandLineItem(const QString& text);

// The text whole when it names an existing file, otherwise its first command-line item.
QString nameOfText(const QString& text);

// The path wrapped in double quotation marks when it holds a blank and does not already begin
// with a quotation mark.
QString quotedWhenBlank(const QString& path);

// The dialog for a box holding boxText: it opens in the folder of the box's name when that
// folder exists, else in rememberedFolder, and proposes the name's file part when valid.
OpenFileRequest openFileRequest(const QString& boxText, const QString& rememberedFolder);

// The folder part of a path, with its trailing separator; empty when it has none.
QString folderOf(const QString& path);

}  // namespace ui
