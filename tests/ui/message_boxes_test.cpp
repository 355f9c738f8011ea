#include "message_boxes.h"

#include <memory>
#include <string>

#include <QMessageBox>

#include <gtest/gtest.h>

#include "scripted_dialogs.h"

namespace {

const std::string kTitle(engine::kApplicationTitle);

TEST(MessageBoxes, EachKindHasItsCaptionIconAndButtons) {
    ui_test::ScriptedMessageBoxes boxes;
    boxes.answers = {true, false};

    boxes.Mensagem("Importação finalizada com sucesso", true);
    boxes.Mensagem("Selecione o banco de dados de origem!", false);
    EXPECT_TRUE(boxes.Confirma("Confirma ?"));
    EXPECT_FALSE(boxes.Confirma("Confirma ?"));
    boxes.showPlain("Script Gerado com Sucesso!");
    boxes.showError("Database name is missing");

    using ui::BoxButtons;
    using ui::BoxIcon;
    const std::vector<ui::BoxContent> expected = {
        {"A V I S O", BoxIcon::Information, "Importação finalizada com sucesso", BoxButtons::Ok},
        {"A T E N Ç Ã O", BoxIcon::Warning, "Selecione o banco de dados de origem!", BoxButtons::Ok},
        {"C O N F I R M A Ç Ã O", BoxIcon::Question, "Confirma ?", BoxButtons::YesNo},
        {"C O N F I R M A Ç Ã O", BoxIcon::Question, "Confirma ?", BoxButtons::YesNo},
        {kTitle, BoxIcon::None, "Script Gerado com Sucesso!", BoxButtons::Ok},
        {kTitle, BoxIcon::Error, "Database name is missing.", BoxButtons::Ok},
    };
    EXPECT_EQ(boxes.shown, expected);
}

TEST(MessageBoxes, ErrorBoxAddsAFullStopAfterACharacterAboveIt) {
    struct Case {
        const char* failure;
        const char* shown;
    };
    const Case cases[] = {
        {"File not found", "File not found."},
        {"code 42", "code 42."},
        {"a/b", "a/b."},                       // '/' comes right after '.'
        {"Conexão", "Conexão."},               // a letter beyond ASCII
        {"Falha: ", "Falha: "},                // a blank
        {"linha\r\n", "linha\r\n"},            // a line break
        {"(valor)", "(valor)"},                // ')' lies below '.'
        {"a-", "a-"},                          // '-' lies right below '.'
        {"Invalid value.", "Invalid value."},  // already ends in one
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::errorBoxText(c.failure), c.shown) << c.failure;
}

TEST(DesktopMessageBoxes, BuildsTheBoxWithCaptionIconTextAndButtons) {
    using ui::BoxButtons;
    using ui::BoxIcon;
    struct Case {
        ui::BoxContent box;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {{"A V I S O", BoxIcon::Information, "a", BoxButtons::Ok}, QMessageBox::Information, QMessageBox::Ok},
        {{"A T E N Ç Ã O", BoxIcon::Warning, "a", BoxButtons::Ok}, QMessageBox::Warning, QMessageBox::Ok},
        {{"C O N F I R M A Ç Ã O", BoxIcon::Question, "a", BoxButtons::YesNo},
         QMessageBox::Question,
         QMessageBox::Yes | QMessageBox::No},
        {{kTitle, BoxIcon::None, "a", BoxButtons::Ok}, QMessageBox::NoIcon, QMessageBox::Ok},
        {{kTitle, BoxIcon::Error, "a", BoxButtons::Ok}, QMessageBox::Critical, QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<QMessageBox> box = ui::DesktopMessageBoxes::build(c.box, nullptr);
        EXPECT_EQ(box->windowTitle().toStdString(), c.box.caption);
        EXPECT_EQ(box->icon(), c.icon) << c.box.caption;
        EXPECT_EQ(box->standardButtons(), c.buttons) << c.box.caption;
    }

    // Lines break with CR LF in the system's texts; the box shows plain lines.
    const std::unique_ptr<QMessageBox> box = ui::DesktopMessageBoxes::build(
        {"A T E N Ç Ã O", BoxIcon::Warning, "Falha na função: \"Connectar\"\r\nFalha: <b>x</b>", BoxButtons::Ok},
        nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Falha na função: \"Connectar\"\nFalha: <b>x</b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

}  // namespace
