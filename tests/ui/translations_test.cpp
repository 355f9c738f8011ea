// Qt's standard buttons in Portuguese on a machine whose language is not: the test runs under
// LANG=C, set by its own main before the application starts.
#include "translations.h"

#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QByteArray>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "message_boxes.h"

namespace {

QString buttonText(QMessageBox& box, QMessageBox::StandardButton which) { return box.button(which)->text(); }

TEST(Translations, TheStandardButtonsArePortugueseWhateverTheMachinesLanguage) {
    ASSERT_STREQ(std::getenv("LANG"), "C");
    const ui::BoxContent question{"C O N F I R M A Ç Ã O", ui::BoxIcon::Question, "Confirma ?", ui::BoxButtons::YesNo};
    {
        const std::unique_ptr<QMessageBox> english = ui::DesktopMessageBoxes::build(question, nullptr);
        EXPECT_EQ(buttonText(*english, QMessageBox::Yes), QStringLiteral("&Yes"));
    }

    // An empty program folder: Qt's own translations folder has them.
    const QTemporaryDir programFolder;
    ASSERT_TRUE(
        ui::installPortugueseTranslations(*QCoreApplication::instance(), programFolder.path().toStdString() + "/"));
    const std::unique_ptr<QMessageBox> box = ui::DesktopMessageBoxes::build(question, nullptr);
    EXPECT_EQ(buttonText(*box, QMessageBox::Yes).remove(QLatin1Char('&')), QStringLiteral("Sim"));
    EXPECT_EQ(buttonText(*box, QMessageBox::No).remove(QLatin1Char('&')), QString::fromUtf8("Não"));
    const std::unique_ptr<QMessageBox> ok =
        ui::DesktopMessageBoxes::build({"A V I S O", ui::BoxIcon::Information, "Pronto", ui::BoxButtons::Ok}, nullptr);
    EXPECT_EQ(buttonText(*ok, QMessageBox::Ok).remove(QLatin1Char('&')), QStringLiteral("OK"));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
}

}  // namespace

int main(int argc, char* argv[]) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    qputenv("LANG", QByteArray("C"));
    qputenv("LC_ALL", QByteArray("C"));
    qunsetenv("LANGUAGE");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
