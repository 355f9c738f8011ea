#pragma once

#include "import_session.h"
#include "run_mode.h"

namespace engine {

// The destination transaction as the table procedure sees it, under the run's mode. This is
// the one place where a mode's transaction behaviour is written: the table procedure and the
// run call these steps and never commit or roll back on their own.
//
// - Default: each step (the DELETE once writing can start, each row, the sequence restart) is
//   committed with retention as it is done.
// - Preview: nothing is committed; the run rolls everything back at its end.
// - All-or-nothing: the table is committed with retention at its end, or rolled back.
// - Preview of all-or-nothing tables: an unfinished table is put back to its savepoint, and the
//   run rolls everything back at its end.
class TableTransaction {
public:
    // Marks the point to which the table can be put back; call it before the DELETE.
    TableTransaction(ImportSession& session, RunMode mode);
    TableTransaction(const TableTransaction&) = delete;
    TableTransaction& operator=(const TableTransaction&) = delete;

    // Whether the table's rows go to the server in blocks: in every mode but the default one,
    // where each row is committed on its own.
    bool sendsRowsInBlocks() const { return !commitsEachStep(); }
    // The DELETE ran and the writer is open: the DELETE may take effect.
    void writingStarted();
    // A row was written (inside the row's failure handling: a failure here refuses the row).
    void rowWritten();
    // The sequence restart ran.
    void sequenceRestarted();
    // The table reached its end.
    void tableEnded();
    // Puts the table back as it was before its DELETE: the writer could not start, or the mode
    // undoes a table that did not reach its end.
    void undoTable();

private:
    bool commitsEachStep() const { return mode_ == RunMode::Default; }
    bool undoesToSavepoint() const { return mode_ == RunMode::PreviewAllOrNothing; }
    void run(const std::string& text);

    db::Transaction& transaction_;
    db::Statement command_;
    const RunMode mode_;
};

// The run's destination transaction for the length of a run in this mode: in every mode but
// the default one, closing an attachment rolls back instead of committing, so that nothing of
// a preview or of an unfinished all-or-nothing table is committed by a close or a lost
// connection. end() finishes the run's transaction as the mode says (a preview is rolled back)
// and gives the transaction its commit close action back; so does the destructor, when end()
// was not reached. When the rollback fails, the rollback close action stays.
class RunTransaction {
public:
    RunTransaction(ImportSession& session, RunMode mode);
    ~RunTransaction();
    RunTransaction(const RunTransaction&) = delete;
    RunTransaction& operator=(const RunTransaction&) = delete;

    void end();

private:
    db::Transaction& transaction_;
    const RunMode mode_;
    bool ended_ = false;
};

}  // namespace engine
