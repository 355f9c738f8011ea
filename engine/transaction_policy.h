#pragma once

#include "import_context.h"

namespace engine {

// What a run does with the destination transaction at each point of a table import. The
// default run, the preview and the all-or-nothing tables differ only in these values; the
// table procedure and the run ask the policy and never commit or roll back on their own.
struct TransactionPolicy {
    // Commit with retention once the DELETE ran and the writer is open, after each row
    // (inside the row's own failure handling) and after the sequence restart.
    bool commitEachStep = true;
    // Commit with retention once the table has reached its end, sequence restart included.
    bool commitAtTableEnd = false;
    // A table that does not reach its end (a table-level failure, a stop request) is put back
    // as it was before its DELETE.
    bool undoUnfinishedTable = false;
    // Roll back everything still uncommitted when the run ends, instead of committing it.
    bool rollBackAtRunEnd = false;

    // The policy of a run with these options.
    static TransactionPolicy of(const RunOptions& options);
};

// The destination transaction as the table procedure sees it: the policy's actions, each
// carried out on IBTransactionFireBird over both attachments.
class TableTransaction {
public:
    // Marks the point to which the table can be put back; call it before the DELETE.
    TableTransaction(ImportContext& context, TransactionPolicy policy);
    TableTransaction(const TableTransaction&) = delete;
    TableTransaction& operator=(const TableTransaction&) = delete;

    const TransactionPolicy& policy() const { return policy_; }

    // The DELETE ran and the writer is open: the DELETE may take effect.
    void writingStarted();
    // A row was written (inside the row's failure handling: a failure here refuses the row).
    void rowWritten();
    // The sequence restart ran.
    void sequenceRestarted();
    // The table reached its end.
    void tableEnded();
    // Puts the table back as it was before its DELETE: the writer could not start, or the
    // policy undoes a table that did not reach its end.
    void undoTable();

private:
    // A preview of all-or-nothing tables puts an unfinished table back to its savepoint.
    bool undoesToSavepoint() const;
    void run(const std::string& text);

    db::Transaction& transaction_;
    db::Statement command_;
    TransactionPolicy policy_;
};

// Ends the run's destination transaction as the policy says, before the destination is closed.
void endRunTransaction(ImportContext& context, const TransactionPolicy& policy);

}  // namespace engine
