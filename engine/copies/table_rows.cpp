#include "table_rows.h"

#include "statement.h"
#include "text.h"

namespace engine {

namespace {

// A table's name as a quoted identifier, which takes any name the server accepts.
std::string quoted(const std::string& name) {
    std::string text = "\"";
    for (const char c : name) {
        if (c == '"') text += '"';
        text += c;
    }
    return text + '"';
}

}  // namespace

std::vector<std::pair<std::string, long long>> tableRowCounts(db::Attachment& attachment,
                                                              db::Transaction& transaction) {
    std::vector<std::pair<std::string, long long>> tables;
    {
        db::Statement names("TabelasDoBanco", attachment, transaction);
        names.setText(
            "SELECT RDB$RELATION_NAME FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS "
            "NULL ORDER BY RDB$RELATION_NAME");
        names.open();
        while (!names.eof()) {
            tables.emplace_back(db::trimBlanks(names.column(std::size_t{0}).asText()), 0);
            names.next();
        }
    }
    for (auto& [table, rows] : tables) {
        db::Statement count("LinhasDaTabela", attachment, transaction);
        count.setText("SELECT COUNT(*) FROM " + quoted(table));
        count.open();
        rows = count.column(std::size_t{0}).asStoredInteger();
    }
    return tables;
}

}  // namespace engine
