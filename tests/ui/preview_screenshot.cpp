// Draws the window after a preview that refuses rows, with its outcome view beside it, into a
// PNG file (docs/preview.png). Makes a small source and destination on the local server:
//   QT_QPA_PLATFORM=offscreen preview_screenshot preview.png
#include <cstdlib>
#include <iostream>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include "file_dialogs.h"
#include "filename_edit.h"
#include "form_importa.h"
#include "message_boxes.h"
#include "test_database.h"

namespace {

// Answers every box at once: OK, or No to a question.
class SilentMessageBoxes final : public ui::MessageBoxes {
public:
    bool show(const ui::BoxContent& box) override { return box.buttons == ui::BoxButtons::Ok; }
    std::optional<engine::Credentials> askLogin() override { return std::nullopt; }
};

const char* const kSource = R"(
INSERT INTO CLIENTE (CODIGO, NOME, CNPJ_CNPF) VALUES (1, 'Ana Lima', '111.222.333-44');
INSERT INTO CLIENTE (CODIGO, NOME, CNPJ_CNPF) VALUES (2, 'Bruno Costa', '222.333.444-55');
INSERT INTO CLIENTE (CODIGO, NOME) VALUES (2, 'Bruno Costa (repetido)');
INSERT INTO CLIENTE (CODIGO, NOME) VALUES (3, 'Carla Souza');
INSERT INTO CLIENTE (CODIGO, NOME) VALUES (3, 'Carla Souza Filha');
INSERT INTO CLIENTE (CODIGO, NOME) VALUES (4, 'Daniel Rocha');
INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (1, 'Distribuidora Norte');
INSERT INTO FORNECEDOR (CODIGO, NOME) VALUES (1, 'Distribuidora Norte Filial');
INSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Edson');
INSERT INTO VENDEDOR (ID, NOME) VALUES (2, 'Fabiana');
)";

const char* const kDestination = R"(
INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (7, 'Vendedor antigo');
INSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (8, 'Outro antigo');
)";

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: preview_screenshot <file.png>\n";
        return EXIT_FAILURE;
    }
    test_support::TestDatabase source(test_support::schemaFile("tavlo-schema.sql") + kSource);
    test_support::TestDatabase destination(test_support::schemaFile("merak-schema.sql") + kDestination);
    QTemporaryDir programFolder;

    SilentMessageBoxes boxes;
    ui::DesktopFileDialogs dialogs;
    ui::TFormImporta window(programFolder.path().toStdString() + "/", boxes, dialogs);
    window.show();
    QApplication::processEvents();
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditOrigem"))
        ->setText(QString::fromStdString(source.path()));
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditDestino"))
        ->setText(QString::fromStdString(destination.path()));
    for (const char* name : {"CheckBoxClientes", "CheckBoxFornec", "CheckBoxVendedores"})
        window.findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(true);
    window.findChild<QPushButton*>(QStringLiteral("ButtonSimular"))->click();
    QApplication::processEvents();

    auto* outcome = window.findChild<QWidget*>(QStringLiteral("FormResultado"));
    if (outcome == nullptr) {
        std::cerr << "the preview showed no outcome\n";
        return EXIT_FAILURE;
    }
    const QPixmap main = window.grab();
    const QPixmap view = outcome->grab();
    QImage picture(main.width() + 12 + view.width(), std::max(main.height(), view.height()), QImage::Format_RGB32);
    picture.fill(QColor(90, 90, 90));
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, main);
    painter.drawPixmap(main.width() + 12, 0, view);
    painter.end();
    if (!picture.save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
