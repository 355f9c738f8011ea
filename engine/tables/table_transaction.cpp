#include "table_transaction.h"

namespace engine {

namespace {

// The savepoint set before each table's DELETE.
constexpr const char* kTableStart = "IMPORT_TABLE_START";

}  // namespace

TableTransaction::TableTransaction(ImportSession& session, RunMode mode)
    : transaction_(session.IBTransactionFireBird),
      command_("", session.IBDatabaseDestino, session.IBTransactionFireBird),
      mode_(mode) {
    run(std::string("SAVEPOINT ") + kTableStart);
}

void TableTransaction::writingStarted() {
    if (commitsEachStep()) {
        transaction_.commitRetaining();
    } else if (!undoesToSavepoint()) {
        // Past this point the table is either kept or rolled back whole: the server need not
        // keep the savepoint's record of every row.
        run(std::string("RELEASE SAVEPOINT ") + kTableStart);
    }
}

void TableTransaction::rowWritten() {
    if (commitsEachStep()) transaction_.commitRetaining();
}

void TableTransaction::sequenceRestarted() {
    if (commitsEachStep()) transaction_.commitRetaining();
}

void TableTransaction::tableEnded() {
    if (mode_ == RunMode::AllOrNothing) transaction_.commitRetaining();
}

void TableTransaction::undoTable() {
    // Ended under the table by a lost connection: the server has rolled the lost part back,
    // and the run's rollback close action the rest, so the table is as it was.
    if (!transaction_.isActive() && !commitsEachStep()) return;
    if (mode_ == RunMode::AllOrNothing) {
        // Nothing before the table is uncommitted: a rollback also undoes a sequence restart,
        // which a savepoint does not.
        transaction_.rollbackRetaining();
        return;
    }
    run(std::string("ROLLBACK TO SAVEPOINT ") + kTableStart);
}

void TableTransaction::run(const std::string& text) {
    command_.close();
    command_.setText(text);
    command_.execute();
}

RunTransaction::RunTransaction(ImportSession& session, RunMode mode)
    : transaction_(session.IBTransactionFireBird), mode_(mode) {
    transaction_.setCloseAction(mode_ == RunMode::Default ? db::CloseAction::Commit : db::CloseAction::Rollback);
}

RunTransaction::~RunTransaction() {
    try {
        end();
    } catch (...) {
        // A failure in hand is the one to report; the close action is back either way.
    }
}

void RunTransaction::end() {
    if (ended_) return;
    ended_ = true;
    // Ended outright: closing the destination afterwards has nothing left to commit. Should the
    // rollback fail, the close action stays a rollback, so that no later close commits it.
    if (isPreview(mode_) && transaction_.isActive()) transaction_.rollback();
    transaction_.setCloseAction(db::CloseAction::Commit);
}

}  // namespace engine
