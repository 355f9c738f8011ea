// Draws the outcome view after a run on the sample databases that refuses rows, with one
// refused row selected, into a PNG file (docs/outcome.png); needs the local Firebird server:
//   QT_QPA_PLATFORM=offscreen outcome_screenshot outcome.png
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "file_dialogs.h"
#include "filename_edit.h"
#include "form_importa.h"
#include "message_boxes.h"
#include "test_database.h"

namespace {

// Answers Yes to the run's confirmation, No to every other question, OK to the rest.
class ConfirmingMessageBoxes final : public ui::MessageBoxes {
public:
    bool show(const ui::BoxContent& box) override {
        if (box.buttons == ui::BoxButtons::Ok) return true;
        return box.text.rfind("Atenção", 0) == 0;
    }
    std::optional<engine::Credentials> askLogin() override { return std::nullopt; }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: outcome_screenshot <file.png>\n";
        return EXIT_FAILURE;
    }
    using test_support::schemaFile;
    test_support::TestDatabase source(schemaFile("tavlo-schema.sql") + "\n" + schemaFile("tavlo-sample-data.sql"));
    test_support::TestDatabase destination(schemaFile("merak-schema.sql") + "\n" + schemaFile("merak-sample-data.sql"));
    QTemporaryDir programFolder;

    ConfirmingMessageBoxes boxes;
    ui::DesktopFileDialogs dialogs;
    ui::TFormImporta window(programFolder.path().toStdString() + "/", boxes, dialogs);
    window.show();
    QApplication::processEvents();
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditOrigem"))
        ->setText(QString::fromStdString(source.path()));
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditDestino"))
        ->setText(QString::fromStdString(destination.path()));
    for (const char* name : {"CheckBoxClientes", "CheckBoxFornec", "CheckBoxProdutos", "CheckBoxVendedores"})
        window.findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(true);
    window.findChild<QCheckBox*>(QStringLiteral("CheckBoxCopiaSeguranca"))->setChecked(false);
    window.findChild<QPushButton*>(QStringLiteral("BitBtnImportar"))->click();
    QApplication::processEvents();

    auto* outcome = window.findChild<QWidget*>(QStringLiteral("FormResultado"));
    if (outcome == nullptr) {
        std::cerr << "the run showed no outcome\n";
        return EXIT_FAILURE;
    }
    outcome->resize(1100, 640);
    auto* refusals = outcome->findChild<QTreeWidget*>(QStringLiteral("TreeRecusas"));
    if (refusals->topLevelItemCount() > 0 && refusals->topLevelItem(0)->childCount() > 0)
        refusals->setCurrentItem(refusals->topLevelItem(0)->child(0));
    QApplication::processEvents();
    if (!outcome->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
