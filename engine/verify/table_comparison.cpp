#include "table_comparison.h"

#include <cstdint>
#include <exception>
#include <optional>

#include "database_error.h"
#include "destination_sequences.h"
#include "statement.h"
#include "value_comparison.h"

namespace engine {

namespace {

constexpr std::string_view kDifferent = "diferente";
constexpr std::string_view kMissing = "ausente";
constexpr std::string_view kExtra = "excedente";
constexpr std::string_view kRepeatedKey = "chave repetida na origem: a importação grava só a primeira";
constexpr std::string_view kNullKey = "chave nula";
constexpr std::string_view kStopped = "interrompida";

// The source rows in the order of their keys as the mapping gives them (a null key reads
// 0), ties in the order the import reads them.
std::string orderedSource(const RowMapping& mapping) {
    const std::string key(mapping.sourceKey);
    return "SELECT * FROM " + std::string(mapping.sourceTable) + " ORDER BY COALESCE(" + key + ", 0), RDB$DB_KEY";
}

std::string orderedDestination(const RowMapping& mapping) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < mapping.columns.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += mapping.columns[i].declaration.name;
    }
    return sql + " FROM " + std::string(mapping.destinationTable) + " ORDER BY " +
           std::string(mapping.columns.front().declaration.name);
}

// Walks one table: records each finding in the check and the file.
class TableWalk {
public:
    TableWalk(RunState& run, const RowMapping& mapping, const LoggedRefusals& logged, ConferenceFile& file,
              int earliestTodayDay, TableCheck& check)
        : run_(run),
          mapping_(mapping),
          logged_(logged),
          file_(file),
          earliestTodayDay_(earliestTodayDay),
          check_(check),
          destination_("", run.session.IBDatabaseDestino, run.session.IBTransactionFireBird) {}

    void walk() {
        db::Statement& origem = run_.session.IBQueryOrigem;
        mapping_.prepareChecks();
        origem.close();
        origem.setText(orderedSource(mapping_));
        origem.open();
        destination_.setText(orderedDestination(mapping_));
        destination_.open();
        destination_.first();
        run_.progress.setStatus("Conferindo " + std::string(mapping_.destinationTable));
        run_.progress.processMessages();

        for (origem.first(); !origem.eof(); origem.next()) {
            mapping_.fill();
            // What the lookups log is the import's business; here it would only pile up.
            run_.LogErros.clear();
            sourceRow();
            if (run_.progress.stopRequested()) {
                check_.failure = std::string(kStopped);
                return;
            }
        }
        for (; !destination_.eof(); destination_.next()) extraRow();
    }

private:
    std::int64_t destinationKey() const { return destination_.column(std::size_t{0}).asStoredInteger(); }

    void sourceRow() {
        const FieldValue& keyValue = mapping_.columns.front().value();
        if (keyValue.isNull) {
            missing("", std::string(kNullKey));
            return;
        }
        const std::int64_t key = keyValue.integer;
        while (!destination_.eof() && destinationKey() < key) {
            extraRow();
            destination_.next();
        }
        if (!groupKey_ || *groupKey_ != key) {
            groupKey_ = key;
            groupWritten_ = false;
        }
        const std::string keyText = std::to_string(key);
        if (const std::optional<std::string> refusal = mapping_.refusal()) {
            missing(keyText, *refusal);
            return;
        }
        if (groupWritten_) {
            missing(keyText, std::string(kRepeatedKey));
            return;
        }
        groupWritten_ = true;
        if (destination_.eof() || destinationKey() != key) {
            const std::string* reason = logged_.find(mapping_.destinationTable, keyText);
            missing(keyText, reason ? *reason : std::string());
            return;
        }
        compareRow(keyText);
        destination_.next();
    }

    void compareRow(const std::string& key) {
        bool different = false;
        const std::vector<db::FieldDescription>& described = destination_.columns();
        for (std::size_t i = 0; i < mapping_.columns.size(); ++i) {
            const MappedColumn& column = mapping_.columns[i];
            const FieldDeclaration& field = column.declaration;
            const FieldValue expected = storedValue(column.value(), field, described[i]);
            const FieldValue actual = destinationValue(destination_.column(i), field.kind);
            const bool same = column.today ? sameDayOrLater(expected, actual, earliestTodayDay_)
                                           : sameValue(expected, actual, field.kind, described[i]);
            if (same) continue;
            different = true;
            ColumnDifference difference{key, std::string(field.name), shownValue(expected, field),
                                        shownValue(actual, field)};
            file_.add(mapping_.destinationTable, key, kDifferent, difference.column, difference.mapped,
                      difference.destination, "");
            if (check_.differences.size() < kFindingsKept) check_.differences.push_back(std::move(difference));
        }
        ++(different ? check_.rowsDifferent : check_.rowsEqual);
    }

    // A key is missing once: a later source row of a key already found missing adds nothing.
    void missing(const std::string& key, const std::string& explanation) {
        if (!key.empty()) {
            if (missingKey_ == key) return;
            missingKey_ = key;
        }
        ++(explanation.empty() ? check_.rowsMissingUnexplained : check_.rowsMissingExplained);
        file_.add(mapping_.destinationTable, key, kMissing, "", "", "", explanation);
        if (check_.missing.size() < kFindingsKept) check_.missing.push_back({key, explanation});
    }

    void extraRow() {
        const std::string key = std::to_string(destinationKey());
        ++check_.rowsExtra;
        file_.add(mapping_.destinationTable, key, kExtra, "", "", "", "");
        if (check_.extraKeys.size() < kFindingsKept) check_.extraKeys.push_back(key);
    }

    RunState& run_;
    const RowMapping& mapping_;
    const LoggedRefusals& logged_;
    ConferenceFile& file_;
    const int earliestTodayDay_;
    TableCheck& check_;
    db::Statement destination_;
    std::optional<std::int64_t> groupKey_;
    bool groupWritten_ = false;
    std::string missingKey_;  // the last key found missing
};

// The sequence's value; none, with why, without the right to read it.
void readSequence(RunState& run, const RowMapping& mapping, TableCheck& check) {
    try {
        check.sequenceValue = sequenceValue(run.session, mapping.sequence);
    } catch (const db::DatabaseError& failure) {
        if (!failure.hasCode(isc_no_priv)) throw;
        check.sequenceFailure = "sem permissão para ler a sequência";
    }
}

}  // namespace

TableCheck compareTable(RunState& run, const RowMapping& mapping, const LoggedRefusals& logged, ConferenceFile& file,
                        int earliestTodayDay) {
    TableCheck check;
    check.destinationTable = mapping.destinationTable;
    check.sequenceName = mapping.sequence;
    check.reached = true;
    try {
        TableWalk(run, mapping, logged, file, earliestTodayDay, check).walk();
        run.session.IBQueryOrigem.close();
        check.highestKey = highestKey(run.session, mapping);
        if (!mapping.sequence.empty()) readSequence(run, mapping, check);
    } catch (const std::exception& failure) {
        check.failure = failure.what();
        run.session.IBQueryOrigem.closeCursorQuietly();
    }
    return check;
}

}  // namespace engine
