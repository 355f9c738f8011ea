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
    // Whether the comparison reached the table; when it did not, failure says why.
    bool reached = false;
    // Why the table could not be compared to its end; empty when it was.
    std::string failure;

    // Every row of the table was compared.
    bool complete() const { return reached && failure.empty(); }

    // The sequence would hand out a key the table already holds.
    bool sequenceBehind() const { return sequenceValue && highestKey && *sequenceValue < *highestKey; }
    // Everything matches apart from explained missing rows.
    bool matches() const { return complete() && rowsDifferent == 0 && rowsMissingUnexplained == 0 && rowsExtra == 0; }
};

// The outcome of a comparison of the destination with the source.
struct VerificationReport {
    bool started = false;  // false: nothing was compared (connection, admission)
    // Every chosen table, in the order of the comparison, those it did not reach included.
    std::vector<TableCheck> tables;
    // conferencia.csv as written, in the program folder or the user's data folder; empty when
    // it could not be created (failure then says why).
    std::string csvPath;
    // Why the program folder did not take conferencia.csv; empty when it did.
    std::string csvProgramFolderFailure;
    // Why conferencia.csv lacks findings (no folder could take them); empty when it is whole.
    std::string csvFailure;
    bool stopped = false;  // a stop request ended the comparison
    std::string failure;

    // The comparison ran to its end: every table compared and every finding written.
    bool complete() const {
        if (!started || !failure.empty() || stopped || !csvFailure.empty()) return false;
        for (const TableCheck& table : tables)
            if (!table.complete()) return false;
        return true;
    }
    bool matches() const {
        if (!complete()) return false;
        for (const TableCheck& table : tables)
            if (!table.matches()) return false;
        return true;
    }
};

}  // namespace engine
