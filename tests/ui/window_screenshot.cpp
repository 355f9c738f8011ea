// Draws the main window, with sample database paths in its boxes, into a PNG file. Used to
// look at the window under an X server:
//   xvfb-run -a -s "-screen 0 1024x768x24" window_screenshot window.png
#include <cstdlib>
#include <fstream>
#include <iostream>

#include <QApplication>
#include <QTemporaryDir>

#include "file_dialogs.h"
#include "form_importa.h"
#include "message_boxes.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: window_screenshot <file.png>\n";
        return EXIT_FAILURE;
    }
    QTemporaryDir programFolder;
    std::ofstream(programFolder.filePath(QStringLiteral("Config.ini")).toStdString(), std::ios::binary)
        << "[Bancos]\r\nOrigem=/home/tecnico/Tavlo/DADOS.FDB\r\nDestino=/home/tecnico/Merak/MERAK.FDB\r\n";

    ui::DesktopMessageBoxes boxes;
    ui::DesktopFileDialogs dialogs;
    ui::TFormImporta window(programFolder.path().toStdString() + "/", boxes, dialogs);
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
