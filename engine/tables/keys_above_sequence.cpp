#include "keys_above_sequence.h"

#include "database_error.h"
#include "destination_connection.h"
#include "statement.h"

namespace engine {

std::optional<KeysAboveSequence> keysAboveSequence(const db::Attachment& destination, std::string_view table,
                                                   std::string_view keyColumn, std::string_view sequence) {
    try {
        DestinationConnection reader("", "DestinoSequencia");
        reader.attachment.setConnectionString(destination.connectionString());
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

}  // namespace engine
