// SIGTERM while the window runs an import. In a program of its own, because the signal's
// request stays for the rest of the process.
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "filename_edit.h"
#include "form_importa.h"
#include "import_fixture.h"
#include "scripted_dialogs.h"
#include "stop_requests.h"
#include "stop_signals.h"
#include "test_database.h"

namespace {

std::string clients(int count) {
    std::string script;
    for (int code = 1; code <= count; ++code)
        script += "\nINSERT INTO CLIENTE (CODIGO, NOME) VALUES (" + std::to_string(code) + ", 'Cliente');";
    return script;
}

TEST(FormImportaStop, SigtermEndsTheRunAtARowAndClosesTheWindowSavingTheSettings) {
    engine::installStopSignals();
    test_support::TestDatabase source(test_support::schemaFile("tavlo-schema.sql") + clients(200) +
                                      "\nINSERT INTO VENDEDOR (ID, NOME) VALUES (1, 'Ana');");
    test_support::TestDatabase destination(test_support::schemaFile("merak-schema.sql") +
                                           "\nINSERT INTO VENDEDOR (VEN_CODIGO, VEN_NOME) VALUES (9, 'Antigo');");
    QTemporaryDir folder;
    const std::string programFolder = folder.path().toStdString() + "/";
    ui_test::ScriptedMessageBoxes boxes;
    ui_test::ScriptedFileDialogs dialogs;
    ui::TFormImporta window(programFolder, boxes, dialogs);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditOrigem"))
        ->setText(QString::fromStdString(source.path()));
    window.findChild<ui::FilenameEdit*>(QStringLiteral("FilenameEditDestino"))
        ->setText(QString::fromStdString(destination.path()));
    window.findChild<QCheckBox*>(QStringLiteral("CheckBoxClientes"))->setChecked(true);
    window.findChild<QCheckBox*>(QStringLiteral("CheckBoxVendedores"))->setChecked(true);
    window.findChild<QCheckBox*>(QStringLiteral("CheckBoxCopiaSeguranca"))->setChecked(false);

    // The signal comes while the client import processes the window's messages after a row.
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    boxes.answers = {true};  // the import's confirmation
    window.findChild<QPushButton*>(QStringLiteral("BitBtnImportar"))->click();

    EXPECT_TRUE(platform::stopRequested());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Importando);
    ASSERT_EQ(window.lastReport().tables.size(), 1U) << "no table after the stopped one";
    const engine::TableOutcome& clientes = window.lastReport().tables[0];
    EXPECT_TRUE(clientes.interrupted);
    EXPECT_LT(clientes.rowsRead, 200);
    // The rows written before the stop are there; the sellers were never reached.
    EXPECT_EQ(test_support::queryRows(destination, "SELECT COUNT(*) FROM CLIENTES"),
              (test_support::ImportFixture::Rows{{std::to_string(clientes.rowsRead)}}));
    EXPECT_EQ(test_support::queryRows(destination, "SELECT VEN_NOME FROM VENDEDOR"),
              (test_support::ImportFixture::Rows{{"Antigo"}}));
    // With its box unticked the run made no safety copy beside the destination.
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(destination.path()).parent_path()))
        EXPECT_NE(entry.path().extension(), ".fbk") << entry.path();
    // Closed as on a normal close: the settings are saved.
    EXPECT_EQ(test_support::readFile(programFolder + "Config.ini"), "[Bancos]\r\nOrigem=" + source.path() +
                                                                        "\r\nDestino=" + destination.path() +
                                                                        "\r\n\r\n[Opcoes]\r\nCopiaSeguranca=0\r\n");
}

}  // namespace
