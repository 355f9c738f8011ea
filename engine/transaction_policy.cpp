#include "transaction_policy.h"

namespace engine {

namespace {

// The savepoint set before each table's DELETE.
constexpr const char* kTableStart = "IMPORT_TABLE_START";

}  // namespace

TransactionPolicy TransactionPolicy::of(const RunOptions& options) {
    TransactionPolicy policy;
    if (options.preview) {
        // Everything stays in the one transaction, each table seeing what the tables before
        // it wrote, and is rolled back at the end.
        policy.commitEachStep = false;
        policy.undoUnfinishedTable = options.allOrNothing;
        policy.rollBackAtRunEnd = true;
    } else if (options.allOrNothing) {
        policy.commitEachStep = false;
        policy.commitAtTableEnd = true;
        policy.undoUnfinishedTable = true;
    }
    return policy;
}

TableTransaction::TableTransaction(ImportContext& context, TransactionPolicy policy)
    : transaction_(context.IBTransactionFireBird),
      command_("", context.IBDatabaseDestino, context.IBTransactionFireBird),
      policy_(policy) {
    run(std::string("SAVEPOINT ") + kTableStart);
}

void TableTransaction::writingStarted() {
    if (policy_.commitEachStep) {
        transaction_.commitRetaining();
    } else if (!undoesToSavepoint()) {
        // Past this point the table is either kept or rolled back whole: the server need not
        // keep the savepoint's record of every row.
        run(std::string("RELEASE SAVEPOINT ") + kTableStart);
    }
}

void TableTransaction::rowWritten() {
    if (policy_.commitEachStep) transaction_.commitRetaining();
}

void TableTransaction::sequenceRestarted() {
    if (policy_.commitEachStep) transaction_.commitRetaining();
}

void TableTransaction::tableEnded() {
    if (policy_.commitAtTableEnd) transaction_.commitRetaining();
}

void TableTransaction::undoTable() {
    if (policy_.commitAtTableEnd) {
        // Nothing before the table is uncommitted: a rollback also undoes a sequence restart,
        // which a savepoint does not.
        transaction_.rollbackRetaining();
        return;
    }
    run(std::string("ROLLBACK TO SAVEPOINT ") + kTableStart);
}

bool TableTransaction::undoesToSavepoint() const { return policy_.undoUnfinishedTable && !policy_.commitAtTableEnd; }

void TableTransaction::run(const std::string& text) {
    command_.close();
    command_.setText(text);
    command_.execute();
}

void endRunTransaction(ImportContext& context, const TransactionPolicy& policy) {
    db::Transaction& transaction = context.IBTransactionFireBird;
    // Ended outright: closing the destination afterwards has nothing left to commit.
    if (policy.rollBackAtRunEnd && transaction.isActive()) transaction.rollback();
}

}  // namespace engine
