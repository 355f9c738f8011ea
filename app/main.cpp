// Starts the program: the application, its one window, the event loop. The window, and with
// it every database attachment, is gone before the program ends.
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include <QApplication>

#include "file_dialogs.h"
#include "form_importa.h"
#include "message_boxes.h"
#include "program_folder.h"
#include "stop_requests.h"
#include "translations.h"

int main(int argc, char* argv[]) {
    // SIGINT, SIGTERM, SIGHUP and SIGQUIT end a run at a row boundary and then close the window, instead of
    // ending the program with the run half done; installed before the first attachment.
    engine::installStopSignals();
    QApplication application(argc, argv);
    // The title names the program; the window keeps its own caption, so it is not set as the
    // display name, which the desktop would append to every window caption.
    QApplication::setApplicationName(
        QString::fromUtf8(engine::kApplicationTitle.data(), static_cast<qsizetype>(engine::kApplicationTitle.size())));

    // Qt's own buttons and file dialog in Portuguese, like every other text of the window.
    const std::string programFolder = platform::programFolder();
    ui::installPortugueseTranslations(application, programFolder);

    ui::DesktopMessageBoxes boxes;
    ui::DesktopFileDialogs dialogs;
    std::unique_ptr<ui::TFormImporta> FormImporta;
    try {
        FormImporta = std::make_unique<ui::TFormImporta>(programFolder, boxes, dialogs);
    } catch (const std::exception& failure) {
        boxes.showError(failure.what());
        return EXIT_FAILURE;
    }
    FormImporta->show();
    return QApplication::exec();
}
