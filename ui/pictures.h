#pragma once

#include <QIcon>

namespace ui {

// The 16 × 16 pictures of the window's buttons, drawn in code.

// A yellow database cylinder struck by a blue lightning bolt, with a grey copy for the
// disabled button.
QIcon importPicture();

// A small open yellow folder.
QIcon browsePicture();

}  // namespace ui
