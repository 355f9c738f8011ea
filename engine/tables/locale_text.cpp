#include "locale_text.h"

#include <QLocale>
#include <QString>

namespace engine {

std::string localeUpperCase(const std::string& text) {
    return QLocale().toUpper(QString::fromStdString(text)).toStdString();
}

}  // namespace engine
