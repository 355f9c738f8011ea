#include "destination_count.h"

#include "database_error.h"
#include "destination_connection.h"
#include "statement.h"

namespace batch {

namespace {

RowCount countRows(db::Attachment& attachment, db::Transaction& transaction, const std::string& table) {
    try {
        db::Statement count("ContagemDestino", attachment, transaction);
        count.setText("SELECT COUNT(*) FROM " + table);
        count.open();
        return {count.column(std::size_t{0}).asStoredInteger(), ""};
    } catch (const db::DatabaseError& failure) {
        return {std::nullopt, failure.text()};
    }
}

}  // namespace

std::vector<RowCount> countDestinationRows(const std::string& destinoPath, const engine::ServerLogin& login,
                                           const std::vector<std::string>& tables) {
    engine::DestinationConnection destination(destinoPath, login, "ContagemDestino");
    db::Attachment& attachment = destination.attachment;
    db::Transaction& transaction = destination.transaction;

    std::vector<RowCount> counts;
    try {
        attachment.open();
    } catch (const db::DatabaseError& failure) {
        counts.assign(tables.size(), RowCount{std::nullopt, failure.text()});
        return counts;
    }
    for (const std::string& table : tables) counts.push_back(countRows(attachment, transaction, table));
    // Leaving here ends the reading transaction and detaches, quietly.
    return counts;
}

}  // namespace batch
