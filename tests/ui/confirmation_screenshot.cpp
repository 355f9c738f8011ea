// Draws the run's confirmation box, with Qt's Portuguese buttons, into a PNG file; run under
// an X server with the machine's language left as it is:
//   xvfb-run -a -s "-screen 0 1024x768x24" confirmation_screenshot docs/confirmation.png
#include <cstdlib>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

#include "box_texts.h"
#include "message_boxes.h"
#include "translations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: confirmation_screenshot <file.png>\n";
        return EXIT_FAILURE;
    }
    const QTemporaryDir programFolder;
    if (!ui::installPortugueseTranslations(application, programFolder.path().toStdString() + "/")) {
        std::cerr << "Qt's Portuguese translations are not installed\n";
        return EXIT_FAILURE;
    }
    const ui::BoxContent box{std::string(engine::kCaptionConfirmacao), ui::BoxIcon::Question,
                             "Atenção os registros das tabelas marcadas serão apagadas e importadas: \r\nConfirma ?",
                             ui::BoxButtons::YesNo};
    const std::unique_ptr<QMessageBox> dialog = ui::DesktopMessageBoxes::build(box, nullptr);
    dialog->show();
    QApplication::processEvents();
    if (!dialog->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
