#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "attachment.h"

namespace engine {

// A table whose highest key is above its key sequence's value: Merak's next insert would take
// a key that is already there.
struct KeysAboveSequence {
    long long highestKey = 0;
    long long sequenceValue = 0;
};

// Reads the table's highest key and the sequence's value on an attachment of its own to the
// destination the given attachment names (the run's own may be gone, or its transaction ended
// by a lost connection). None when the keys are not above the sequence, or when they cannot be
// read.
std::optional<KeysAboveSequence> keysAboveSequence(const db::Attachment& destination, std::string_view table,
                                                   std::string_view keyColumn, std::string_view sequence);

}  // namespace engine
