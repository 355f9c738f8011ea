#include <gtest/gtest.h>

#include <stdlib.h>
#include "test_connection.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "codepage.h"
#include "database_error.h"
#include "named_parameters.h"
#include "text.h"
#include "values.h"

namespace {

TEST(CodePage, LatinLettersAndWindowsPunctuationRoundTrip) {
    const std::string text = "São Paulo – Açaí € “ok”";
    const std::string bytes = db::toCodePage(text);
    EXPECT_EQ(bytes,
              "S\xE3o Paulo \x96 A\xE7"
              "a\xED \x80 \x93ok\x94");
    EXPECT_EQ(db::fromCodePage(bytes), text);
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(db::toCodePage("日本 ok Ω"), "?? ok ?");
    EXPECT_EQ(db::toCodePage("bad \xC3"), "bad ?");
}

TEST(Text, TrimAndCharacterCounting) {
    EXPECT_EQ(db::trimBlanks("\t  a b \r\n"), "a b");
    EXPECT_EQ(db::trimBlanks("   "), "");
    EXPECT_EQ(db::characterCount("ação"), 4u);
    EXPECT_EQ(db::firstCharacters("ação!", 3), "açã");
    EXPECT_EQ(db::firstCharacters("ab", 5), "ab");
}

TEST(IntegerText, DecimalAndHexadecimalLiterals) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    for (const Case& c : std::vector<Case>{{"123", 123},
                                           {"  45", 45},
                                           {"-7", -7},
                                           {"+7", 7},
                                           {"0042", 42},
                                           {"$1F", 31},
                                           {"x1f", 31},
                                           {"X10", 16},
                                           {"0x10", 16},
                                           {"2147483647", 2147483647},
                                           {"-2147483648", -2147483647 - 1},
                                           {"2147483648", std::nullopt},
                                           {"12A", std::nullopt},
                                           {"S/N", std::nullopt},
                                           {"12 ", std::nullopt},
                                           {"", std::nullopt},
                                           {"   ", std::nullopt},
                                           {"$", std::nullopt},
                                           {"1.5", std::nullopt}}) {
        EXPECT_EQ(db::parseInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumberText, ExactNumericsLoseTrailingZerosAndRoundHalfToEven) {
    EXPECT_EQ(db::formatScaled(1700, -2, test_support::kTestRegionalFormat), "17");
    EXPECT_EQ(db::formatScaled(150, -2, test_support::kTestRegionalFormat), "1,5");
    EXPECT_EQ(db::formatScaled(-5, -2, test_support::kTestRegionalFormat), "-0,05");
    EXPECT_EQ(db::formatScaled(0, -2, test_support::kTestRegionalFormat), "0");
    EXPECT_EQ(db::roundScaled(250, -2, test_support::kTestRegionalFormat), 2);
    EXPECT_EQ(db::roundScaled(350, -2, test_support::kTestRegionalFormat), 4);
    EXPECT_EQ(db::roundScaled(-250, -2, test_support::kTestRegionalFormat), -2);
    EXPECT_EQ(db::roundScaled(251, -2, test_support::kTestRegionalFormat), 3);
    EXPECT_EQ(db::roundDouble(2.5, test_support::kTestRegionalFormat), 2);
    EXPECT_EQ(db::roundDouble(3.5, test_support::kTestRegionalFormat), 4);
    EXPECT_EQ(db::formatDouble(1.25, test_support::kTestRegionalFormat), "1,25");
}

// The process's numeric locale set to Brazilian Portuguese, as Qt sets it from the desktop's
// environment, and back to "C" at the end. The locale is compiled into a folder of its own
// when the machine has none installed.
class BrazilianNumericLocale {
public:
    BrazilianNumericLocale() {
        if (std::setlocale(LC_NUMERIC, "pt_BR.UTF-8") != nullptr) return;
        char pattern[] = "/tmp/tavlo-merak-locale-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        folder_ = pattern;
        const std::string build = "localedef -i pt_BR -f UTF-8 " + folder_ + "/pt_BR.UTF-8 >/dev/null 2>&1";
        if (std::system(build.c_str()) != 0) return;
        ::setenv("LOCPATH", folder_.c_str(), 1);
        std::setlocale(LC_NUMERIC, "pt_BR.UTF-8");
    }
    ~BrazilianNumericLocale() {
        std::setlocale(LC_NUMERIC, "C");
        ::unsetenv("LOCPATH");
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    bool active() const { return std::localeconv()->decimal_point == std::string(","); }

private:
    std::string folder_;
};

TEST(NumberText, FloatingPointTextsFollowTheRegionalFormatWhateverTheLocale) {
    struct Case {
        const char* text;
        double value;
    };
    const Case valid[] = {{"2,25", 2.25},  {" -1,5 ", -1.5}, {"+3", 3},    {"10", 10},   {",5", 0.5}, {"5,", 5},
                          {"1,5E3", 1500}, {"2e-2", 0.02},   {"0,1", 0.1}, {"-0", -0.0}, {"007", 7},  {"1E+2", 100}};
    const char* const invalid[] = {"",   "inf", "nan", "-INF", "infinity", "0x1p3", "0x10",    "2.25", "1,2,3",
                                   "1e", "e5",  ",",   "+-1",  "1 000",    "12a",   "1,5e3,0", "1e400"};
    for (const char* locale : {"C", "pt_BR"}) {
        SCOPED_TRACE(locale);
        std::optional<BrazilianNumericLocale> brazilian;
        if (std::string(locale) == "pt_BR") {
            brazilian.emplace();
            ASSERT_TRUE(brazilian->active()) << "no pt_BR locale could be set";
        }
        for (const Case& c : valid)
            EXPECT_EQ(db::parseDouble(c.text, test_support::kTestRegionalFormat), c.value) << '"' << c.text << '"';
        for (const char* text : invalid) {
            try {
                const double value = db::parseDouble(text, test_support::kTestRegionalFormat);
                ADD_FAILURE() << '"' << text << "\" read as " << value;
            } catch (const db::DatabaseError& e) {
                EXPECT_EQ(e.text(), "''" + std::string(text) + "'' is not a valid floating point value");
            }
        }
        EXPECT_EQ(db::formatDouble(2.25, test_support::kTestRegionalFormat), "2,25");
    }
}

TEST(DateText, CivilDatesCountFrom30December1899) {
    EXPECT_EQ(db::DateTime::fromCivil(1899, 12, 30).day, 0);
    EXPECT_EQ(db::DateTime::fromCivil(1900, 1, 1).day, 2);
    const db::DateTime moment = db::DateTime::fromCivil(2019, 5, 5, 14, 10);
    EXPECT_EQ(db::formatTimestamp(moment, test_support::kTestRegionalFormat), "05/05/2019 14:10:00");
    EXPECT_EQ(db::parseDateTime("05/05/2019 14:10:00", test_support::kTestRegionalFormat), moment);
    EXPECT_THROW(db::parseDateTime("", test_support::kTestRegionalFormat), db::DatabaseError);
}

TEST(NamedParameters, SellerInsertGivesTwoNamedMarkersAndKeepsTheConstant) {
    const db::ParsedSql parsed = db::parseNamedParameters(
        " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  "
        "(:VEN_CODIGO,:VEN_NOME, 1,:VEN_EXPORTATABLET)\r\n");
    EXPECT_EQ(parsed.names, (std::vector<std::string>{"VEN_CODIGO", "VEN_NOME", "VEN_EXPORTATABLET"}));
    EXPECT_EQ(parsed.text,
              " INSERT INTO VENDEDOR  (VEN_CODIGO, VEN_NOME, SUP_CODIGO,VEN_EXPORTATABLET) VALUES  (?,?, 1,?)\r\n");
}

TEST(NamedParameters, QuotedTextsDoubleColonsAndNameTerminators) {
    struct Case {
        const char* sql;
        const char* parsed;
        std::vector<std::string> names;
    };
    for (const Case& c : std::vector<Case>{
             {"SELECT ':A' FROM T WHERE B = :B", "SELECT ':A' FROM T WHERE B = ?", {"B"}},
             {"SELECT \"X:Y\", `a:b` FROM T", "SELECT \"X:Y\", `a:b` FROM T", {}},
             {"SELECT A::B FROM T", "SELECT A::B FROM T", {}},
             {"WHERE CODIGO=:CODIGO\r\n", "WHERE CODIGO=?\r\n", {"CODIGO"}},
             {"VALUES (:A;:B\n:C :D)", "VALUES (?;?\n? ?)", {"A", "B", "C", "D"}},
             {"WHERE X = :\"My Name\" AND Y = 1", "WHERE X = ? AND Y = 1", {"My Name"}},
         }) {
        const db::ParsedSql parsed = db::parseNamedParameters(c.sql);
        EXPECT_EQ(parsed.text, c.parsed) << c.sql;
        EXPECT_EQ(parsed.names, c.names) << c.sql;
    }
}

}  // namespace
