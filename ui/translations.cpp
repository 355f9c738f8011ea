#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

bool installPortugueseTranslations(QCoreApplication& application, const std::string& programFolder) {
    // Owned by the application, which uses it for as long as it lives.
    auto* translator = new QTranslator(&application);
    const QString name = QStringLiteral("qtbase_pt_BR");
    const bool loaded = translator->load(name, QString::fromStdString(programFolder)) ||
                        translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace ui
