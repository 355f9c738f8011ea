#pragma once

#include <string>
#include <vector>

#include <ibase.h>

#include "checked_call.h"

namespace db {

class Attachment;
class Statement;

// What closing an attachment does with an active transaction that includes it.
enum class CloseAction { Commit, Rollback };

// A transaction over one or more attachments. Dropped while active, it rolls back: only an
// explicit call commits. Closing an attachment it includes ends it with its close action,
// commit unless set otherwise.
class Transaction {
public:
    explicit Transaction(std::string name);
    // Rolls back when still active.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    const std::string& name() const { return name_; }

    void setParams(std::vector<std::string> lines);
    void setDefaultAttachment(Attachment* attachment);
    Attachment* defaultAttachment() const { return defaultAttachment_; }
    const std::vector<Attachment*>& attachments() const { return attachments_; }

    void setCloseAction(CloseAction action) { closeAction_ = action; }

    void start();
    void commitRetaining();
    // Undoes everything since the last commit and keeps the transaction, and its cursors, open.
    void rollbackRetaining();
    void commit();
    void rollback();
    bool isActive() const { return handle_ != 0; }
    isc_tr_handle* handle() { return &handle_; }

    // Ends the transaction as closing an attachment does: with its close action, a commit
    // that fails becoming a rollback; never throws.
    void endOnClose() noexcept;
    // Ends the transaction after the connection of one of its attachments was lost. With the
    // commit close action, the part on the live attachments is committed as closing would;
    // otherwise it is rolled back. The lost part is forgotten without a call to the server,
    // since a call on the lost connection could wait for an answer that never comes.
    void endAfterLoss(const Attachment& lost) noexcept;
    // Forgets the transaction without a call to the server: a call that failed in it with the
    // connection lost may leave the server holding it, and ending it would wait forever.
    void abandon() noexcept;

    void addStatement(Statement* statement);
    void removeStatement(Statement* statement);

private:
    friend class Attachment;
    void addAttachment(Attachment* attachment);
    void removeAttachment(Attachment* attachment);
    void requireActive() const;
    void closeCursors() noexcept;
    [[noreturn]] void raise(const ISC_STATUS* status);
    template <typename Call>
    void call(Call&& clientCall) {
        checkedCall(clientCall, NoCleanUp{}, [this](const ISC_STATUS* status) { raise(status); });
    }

    std::string name_;
    std::vector<std::string> params_;
    bool paramsChanged_ = true;
    std::vector<char> tpb_;
    isc_tr_handle handle_ = 0;
    CloseAction closeAction_ = CloseAction::Commit;
    Attachment* defaultAttachment_ = nullptr;
    std::vector<Attachment*> attachments_;
    std::vector<Statement*> statements_;
};

}  // namespace db
