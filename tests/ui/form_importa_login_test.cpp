// The window's login dialog after a refused login.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "form_importa.h"
#include "import_fixture.h"
#include "login_dialog.h"
#include "scripted_dialogs.h"
#include "test_database.h"
#include "test_user.h"
#include "window_fixture.h"

namespace {

using FormImportaLogin = ui_test::WindowFixture;

TEST_F(FormImportaLogin, TheTypedLoginConnectsAndIsWrittenNowhere) {
    const test_support::TestUser user;
    const test_support::TestDatabase source(test_support::schemaFile("tavlo-schema.sql"));
    const test_support::TestDatabase destination(test_support::schemaFile("merak-schema.sql"));
    control<QLineEdit>("FilenameEditOrigem")->setText(QString::fromStdString(source.path()));
    control<QLineEdit>("FilenameEditDestino")->setText(QString::fromStdString(destination.path()));
    window->session().login = {user.name(), "errada"};

    // Cancel: the failure message as it always was.
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(boxes.loginsAsked, 1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("Falha na função: \"Connectar\"\r\nFalha: ", 0), 0u) << boxes.shown[0].text;

    boxes.logins = {{user.name(), user.password()}};
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(boxes.loginsAsked, 2);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "Base de dados Origem e Destino conectados com sucesso");
    // Kept for the program's life: the next connection asks nothing.
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(boxes.loginsAsked, 2);
    window->FormClose();

    for (const std::string& text : boxes.texts()) EXPECT_EQ(text.find(user.password()), std::string::npos) << text;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString shown = widget->property("text").toString();
        EXPECT_FALSE(shown.contains(QString::fromStdString(user.password()))) << widget->objectName().toStdString();
    }
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(programFolder)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        EXPECT_EQ(test_support::readFile(entry.path().string()).find(user.password()), std::string::npos)
            << entry.path();
    }
    EXPECT_GT(files, 0);  // Config.ini at least
}

TEST(LoginDialog, MasksThePasswordAndGivesWhatWasTyped) {
    ui::LoginDialog dialog(nullptr);
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.userEdit()->echoMode(), QLineEdit::Normal);
    QTest::keyClicks(dialog.userEdit(), QStringLiteral("ana"));
    QTest::keyClicks(dialog.passwordEdit(), QStringLiteral("s3nha"));
    const engine::Credentials typed = dialog.credentials();
    EXPECT_EQ(typed.user, "ana");
    EXPECT_EQ(typed.password, "s3nha");
}

}  // namespace
