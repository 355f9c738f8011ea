#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "attachment.h"
#include "server_login.h"

namespace engine {

// What a table procedure reads of the destination after a failure ended its table, on an
// attachment of its own to the destination the given attachment names: the run's own may be
// gone, or its transaction ended by a lost connection. Only committed rows are seen.

// A table whose highest key is above its key sequence's value: Merak's next insert would take
// a key that is already there.
struct KeysAboveSequence {
    long long highestKey = 0;
    long long sequenceValue = 0;
};

// The table's highest key and the sequence's value. None when the keys are not above the
// sequence, or when they cannot be read.
std::optional<KeysAboveSequence> keysAboveSequence(const db::Attachment& destination, const ServerLogin& login,
                                                   std::string_view table, std::string_view keyColumn,
                                                   std::string_view sequence);

// Whether the table holds a row with the given key (the row in flight when the connection was
// lost: its commit may have reached the server). None when the server cannot be reached.
std::optional<bool> rowIsInTable(const db::Attachment& destination, const ServerLogin& login, std::string_view table,
                                 std::string_view keyColumn, const std::string& key);

}  // namespace engine
