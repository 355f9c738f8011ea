#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine {

// A column of a destination row that differs from what the import's mapping gives.
struct ColumnDifference {
    std::string key;
    std::string column;
    std::string mapped;       // what the mapping of the source row gives
    std::string destination;  // what the destination holds
};

// A source row that no destination row matches, and why, when that is known.
struct MissingRow {
    std::string key;
    std::string explanation;  // empty: unexplained
};

// What the comparison found in one table. Only the first few of each finding are kept here;
// conferencia.csv has them all.
struct TableCheck {
    std::string destinationTable;
    long long rowsEqual = 0;
    long long rowsDifferent = 0;
    long long rowsMissingExplained = 0;
    long long rowsMissingUnexplained = 0;
    long long rowsExtra = 0;  // destination rows that no source row produces
    std::vector<ColumnDifference> differences;
    std::vector<MissingRow> missing;
    std::vector<std::string> extraKeys;
    // The table's key sequence, its current value and the highest key the table holds.
    std::string sequenceName;
    std::optional<long long> sequenceValue;
    std::optional<long long> highestKey;
    // Why the sequence's value could not be read (no right to it); empty when it was.
    std::string sequenceFailure;
    // Why the table could not be compared to its end; empty when it was.
    std::string failure;

    // The sequence would hand out a key the table already holds.
    bool sequenceBehind() const { return sequenceValue && highestKey && *sequenceValue < *highestKey; }
    // Everything matches apart from explained missing rows.
    bool matches() const {
        return failure.empty() && rowsDifferent == 0 && rowsMissingUnexplained == 0 && rowsExtra == 0;
    }
};

// The outcome of a comparison of the destination with the source.
struct VerificationReport {
    bool started = false;  // false: nothing was compared (connection, admission)
    std::vector<TableCheck> tables;
    // conferencia.csv as written; empty when it could not be (failure then says why).
    std::string csvPath;
    std::string failure;

    bool matches() const {
        if (!started || !failure.empty()) return false;
        for (const TableCheck& table : tables)
            if (!table.matches()) return false;
        return true;
    }
};

}  // namespace engine
