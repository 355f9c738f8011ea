// Texts from the databases on the terminal: control characters shown, never obeyed.
#include "terminal_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(TerminalText, ControlCharactersAreShownAsEscapesAndLettersStayAsTheyAre) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"Zé\x1b[2J", "Zé\\x1b[2J"},
        {"sino\a", "sino\\x07"},
        {"volta\rpor cima", "volta\\x0dpor cima"},
        {"a\nb\tc", "a\\x0ab\\x09c"},
        {std::string("nulo\0fim", 8), "nulo\\x00fim"},
        {"apaga\x7f", "apaga\\x7f"},
        // U+009B, the one-character CSI, in UTF-8.
        {"csi\xc2\x9b"
         "2J",
         "csi\\xc2\\x9b2J"},
        // Letters, symbols and U+00A0 and above stay.
        {"Ação São João – ü € ½ \xc2\xa0"
         "fim",
         "Ação São João – ü € ½ \xc2\xa0"
         "fim"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(batch::terminalText(c.text), c.shown);
    }
}

}  // namespace
