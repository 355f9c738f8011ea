#pragma once

#include <string>

class QCoreApplication;

namespace ui {

// Gives the application Qt's own Brazilian Portuguese texts (the standard buttons "Sim",
// "Não", "OK", "Cancelar", the file dialog), whatever the machine's language: from the program
// folder when they are shipped beside the program, else from Qt's translations folder. False
// when neither holds them; the texts then stay Qt's English ones.
bool installPortugueseTranslations(QCoreApplication& application, const std::string& programFolder);

}  // namespace ui
