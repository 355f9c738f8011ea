#include "transaction.h"

#include <algorithm>
#include <utility>

#include "attachment.h"
#include "client_library.h"
#include "database_error.h"
#include "parameter_blocks.h"
#include "pointer_list.h"
#include "statement.h"

namespace db {

Transaction::Transaction(std::string name) : name_(std::move(name)) { clientLibrary(); }

Transaction::~Transaction() {
    if (isActive()) {
        closeCursors();
        ISC_STATUS_ARRAY status{};
        clientLibrary().rollback_transaction(status, &handle_);
        handle_ = 0;
    }
    for (Attachment* attachment : attachments_) attachment->removeTransaction(this);
}

void Transaction::setParams(std::vector<std::string> lines) {
    params_ = std::move(lines);
    paramsChanged_ = true;
}

void Transaction::setDefaultAttachment(Attachment* attachment) {
    Attachment* previous = defaultAttachment_;
    if (previous != nullptr && previous != attachment && previous->defaultTransaction() != this) {
        previous->removeTransaction(this);
        eraseFrom(attachments_, previous);
    }
    if (attachment != nullptr && attachment != previous) {
        // The default attachment comes first in the list.
        eraseFrom(attachments_, attachment);
        attachments_.insert(attachments_.begin(), attachment);
        attachment->addTransaction(this);
    }
    defaultAttachment_ = attachment;
}

void Transaction::addAttachment(Attachment* attachment) { appendOnce(attachments_, attachment); }

void Transaction::removeAttachment(Attachment* attachment) {
    eraseFrom(attachments_, attachment);
    if (defaultAttachment_ == attachment) defaultAttachment_ = nullptr;
}

void Transaction::addStatement(Statement* statement) { appendOnce(statements_, statement); }

void Transaction::removeStatement(Statement* statement) { eraseFrom(statements_, statement); }

void Transaction::start() {
    if (isActive()) throw DatabaseError("Transaction is active");
    if (attachments_.empty()) throw DatabaseError("No databases are listed in transaction component");
    // A closed attachment, one whose connection was lost for instance, has no handle to start on.
    for (const Attachment* attachment : attachments_)
        if (!attachment->isOpen()) throw DatabaseError("Cannot perform operation -- DB is not open");
    if (paramsChanged_) {
        tpb_ = buildTransactionParameterBlock(params_);
        paramsChanged_ = false;
    }
    // One transaction existence block per attachment, as isc_start_multiple reads them.
    struct TransactionExistenceBlock {
        isc_db_handle* database;
        int tpbLength;
        const char* tpb;
    };
    std::vector<TransactionExistenceBlock> entries;
    entries.reserve(attachments_.size());
    for (Attachment* attachment : attachments_)
        entries.push_back({attachment->handle(), static_cast<int>(tpb_.size()), tpb_.data()});
    checkedCall(
        [&](ISC_STATUS* status) {
            return clientLibrary().start_multiple(status, &handle_, static_cast<short>(entries.size()), entries.data());
        },
        [&] { handle_ = 0; }, [this](const ISC_STATUS* status) { raise(status); });
}

void Transaction::requireActive() const {
    if (!isActive()) throw DatabaseError("Transaction is not active");
}

void Transaction::commitRetaining() {
    requireActive();
    call([&](ISC_STATUS* status) { return clientLibrary().commit_retaining(status, &handle_); });
}

void Transaction::rollbackRetaining() {
    requireActive();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().rollback_retaining(status, &handle_) != 0) raise(status);
}

void Transaction::commit() {
    requireActive();
    closeCursors();
    call([&](ISC_STATUS* status) { return clientLibrary().commit_transaction(status, &handle_); });
    handle_ = 0;
}

void Transaction::rollback() {
    requireActive();
    closeCursors();
    call([&](ISC_STATUS* status) { return clientLibrary().rollback_transaction(status, &handle_); });
    handle_ = 0;
}

void Transaction::endOnClose() noexcept {
    if (!isActive()) return;
    closeCursors();
    ISC_STATUS_ARRAY status{};
    const ClientLibrary& lib = clientLibrary();
    if (closeAction_ == CloseAction::Rollback || lib.commit_transaction(status, &handle_) != 0)
        lib.rollback_transaction(status, &handle_);
    handle_ = 0;
}

void Transaction::endAfterLoss(const Attachment& lost) noexcept {
    if (!isActive()) return;
    closeCursors();
    const bool spansLiveAttachment = std::any_of(attachments_.begin(), attachments_.end(), [&](Attachment* attachment) {
        return attachment != &lost && attachment->isOpen();
    });
    if (spansLiveAttachment) {
        // Ended on the live attachments as closing ends it. A commit with retention commits
        // each attachment's part in turn, without the two-phase prepare that the lost part
        // would fail; the rollback then ends the retained transaction (or, with the rollback
        // close action, undoes it). The lost part answers both with a failure, which changes
        // nothing.
        ISC_STATUS_ARRAY status{};
        const ClientLibrary& lib = clientLibrary();
        if (closeAction_ == CloseAction::Commit) lib.commit_retaining(status, &handle_);
        lib.rollback_transaction(status, &handle_);
    }
    handle_ = 0;
}

void Transaction::abandon() noexcept {
    if (!isActive()) return;
    closeCursors();
    handle_ = 0;
}

void Transaction::closeCursors() noexcept {
    for (Statement* statement : statements_) statement->closeCursorQuietly();
}

void Transaction::raise(const ISC_STATUS* status) {
    // A transaction on one attachment lets that attachment judge a lost connection.
    if (attachments_.size() == 1) attachments_.front()->raise(status, this);
    throw statusError(status);
}

}  // namespace db
