#include "transaction.h"

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
    forceEnd();
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
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().start_multiple(status, &handle_, static_cast<short>(entries.size()), entries.data()) != 0) {
        handle_ = 0;
        raise(status);
    }
}

void Transaction::requireActive() const {
    if (!isActive()) throw DatabaseError("Transaction is not active");
}

void Transaction::commitRetaining() {
    requireActive();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().commit_retaining(status, &handle_) != 0) raise(status);
}

void Transaction::rollbackRetaining() {
    requireActive();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().rollback_retaining(status, &handle_) != 0) raise(status);
}

void Transaction::commit() {
    requireActive();
    closeCursors();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().commit_transaction(status, &handle_) != 0) raise(status);
    handle_ = 0;
}

void Transaction::rollback() {
    requireActive();
    closeCursors();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().rollback_transaction(status, &handle_) != 0) raise(status);
    handle_ = 0;
}

void Transaction::forceEnd() noexcept {
    if (!isActive()) return;
    closeCursors();
    ISC_STATUS_ARRAY status{};
    if (clientLibrary().commit_transaction(status, &handle_) != 0)
        clientLibrary().rollback_transaction(status, &handle_);
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
    if (attachments_.size() == 1) attachments_.front()->raise(status);
    throw statusError(status);
}

}  // namespace db
