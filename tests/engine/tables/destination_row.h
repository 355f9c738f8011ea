#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import_fixture.h"

namespace import_tests {

// A column (or an SQL expression over the row) and the text it should read: "<null>" for
// null. Dates and decimals are best compared through a CAST, which reads the same on every
// machine.
struct ExpectedColumn {
    std::string expression;
    std::string value;
};

// Reads the destination row that the condition selects and compares each expression with
// its expected text, naming the expression on a mismatch.
inline void expectDestinationRow(const test_support::ImportFixture& fixture, const std::string& table,
                                 const std::string& condition, const std::vector<ExpectedColumn>& expected) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < expected.size(); ++i) sql += (i == 0 ? "" : ", ") + expected[i].expression;
    sql += " FROM " + table + " WHERE " + condition;
    const test_support::ImportFixture::Rows rows = fixture.destinationRows(sql);
    ASSERT_EQ(rows.size(), 1u) << sql;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(rows[0][i], expected[i].value) << table << " where " << condition << ": " << expected[i].expression;
}

}  // namespace import_tests
