#include "fresh_destination_reads.h"

#include "database_error.h"
#include "destination_connection.h"
#include "statement.h"

namespace engine {

namespace {

// An attachment of its own to the destination that the run's attachment names.
struct FreshDestination : DestinationConnection {
    FreshDestination(const db::Attachment& destination, const ServerLogin& login)
        : DestinationConnection("", login, "DestinoVerificacao") {
        attachment.setConnectionString(destination.connectionString());
    }
};

}  // namespace

std::optional<KeysAboveSequence> keysAboveSequence(const db::Attachment& destination, const ServerLogin& login,
                                                   std::string_view table, std::string_view keyColumn,
                                                   std::string_view sequence) {
    try {
        FreshDestination reader(destination, login);
        KeysAboveSequence found;
        {
            db::Statement query("", reader.attachment, reader.transaction);
            query.setText("SELECT MAX(" + std::string(keyColumn) + "), (SELECT GEN_ID(" + std::string(sequence) +
                          ", 0) FROM RDB$DATABASE) FROM " + std::string(table));
            query.open();
            if (query.column(std::size_t{0}).isNull()) return std::nullopt;
            found.highestKey = query.column(std::size_t{0}).asStoredInteger();
            found.sequenceValue = query.column(std::size_t{1}).asStoredInteger();
        }
        reader.attachment.close();
        if (found.highestKey <= found.sequenceValue) return std::nullopt;
        return found;
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
}

std::optional<bool> rowIsInTable(const db::Attachment& destination, const ServerLogin& login, std::string_view table,
                                 std::string_view keyColumn, const std::string& key) {
    try {
        FreshDestination reader(destination, login);
        bool found = false;
        {
            db::Statement query("", reader.attachment, reader.transaction);
            query.setText("SELECT COUNT(*) FROM " + std::string(table) + " WHERE " + std::string(keyColumn) + " = :K");
            query.param("K").setText(key);
            query.open();
            found = query.column(std::size_t{0}).asStoredInteger() > 0;
        }
        reader.attachment.close();
        return found;
    } catch (const db::DatabaseError&) {
        return std::nullopt;
    }
}

}  // namespace engine
