#include "attachment.h"

#include <utility>

#include "client_library.h"
#include "database_error.h"
#include "file_paths.h"
#include "legacy_types.h"
#include "parameter_blocks.h"
#include "pointer_list.h"
#include "transaction.h"

namespace db {

Attachment::Attachment(std::string name) : name_(std::move(name)) { clientLibrary(); }

Attachment::~Attachment() {
    try {
        close();
    } catch (...) {
        // Destruction is quiet: the attachment is closed either way.
    }
    for (Transaction* transaction : transactions_) transaction->removeAttachment(this);
}

void Attachment::setConnectionString(const std::string& connection) {
    if (isOpen()) throw DatabaseError("Cannot perform operation -- DB is currently open");
    connection_ = connection;
}

void Attachment::setParams(std::vector<std::string> lines) {
    params_ = std::move(lines);
    paramsChanged_ = true;
}

void Attachment::setSqlDialect(int dialect) {
    if (dialect < 1 || (isOpen() && dialect > databaseDialect_)) throw DatabaseError("SQL Dialect Invalid");
    sqlDialect_ = dialect;
}

const RegionalFormat& Attachment::regionalFormat() const {
    if (!regionalFormat_) throw DatabaseError("No regional format for the texts of numbers and dates");
    return *regionalFormat_;
}

void Attachment::setDefaultTransaction(Transaction* transaction) {
    Transaction* previous = defaultTransaction_;
    if (previous != nullptr && previous != transaction && previous->defaultAttachment() != this)
        eraseFrom(transactions_, previous);
    if (transaction != nullptr && transaction != previous) {
        transaction->addAttachment(this);
        addTransaction(transaction);
    }
    defaultTransaction_ = transaction;
}

void Attachment::addTransaction(Transaction* transaction) { appendOnce(transactions_, transaction); }

void Attachment::removeTransaction(Transaction* transaction) {
    eraseFrom(transactions_, transaction);
    if (defaultTransaction_ == transaction) defaultTransaction_ = nullptr;
}

void Attachment::addUser(AttachmentUser* user) { appendOnce(users_, user); }

void Attachment::removeUser(AttachmentUser* user) { eraseFrom(users_, user); }

void Attachment::open() {
    if (isOpen()) return;
    if (connection_.empty()) throw DatabaseError("Database name is missing");
    if (paramsChanged_) {
        DatabaseParameterBlock block = buildDatabaseParameterBlock(params_);
        dpb_ = std::move(block.bytes);
        dpbUtf8_ = block.utf8;
        characterSet_ = block.characterSet.value_or("NONE");
        paramsChanged_ = false;
    }
    const ClientLibrary& lib = clientLibrary();
    platform::useFileNameEncoding();
    // A block in UTF-8 takes the database's name in UTF-8 too.
    const std::string connection = dpbUtf8_ ? connection_ : platform::toFileNameBytes(connection_);
    checkedCall(
        [&](ISC_STATUS* status) {
            return lib.attach_database(status, static_cast<short>(connection.size()), connection.c_str(), &handle_,
                                       static_cast<short>(dpb_.size()), dpb_.data());
        },
        [&] { handle_ = 0; }, throwStatus);
    lostConnection_.reset();
    const char items[] = {isc_info_db_sql_dialect, isc_info_firebird_version};
    char reply[512] = {};
    // Without its dialect the attachment is not usable: it is detached again.
    checkedCall(
        [&](ISC_STATUS* status) {
            return lib.database_info(status, &handle_, static_cast<short>(sizeof items), items,
                                     static_cast<short>(sizeof reply), reply);
        },
        [&] { detachQuietly(); }, throwStatus);
    readDatabaseInfo(reply, sizeof reply);
    if (databaseDialect_ < sqlDialect_) sqlDialect_ = databaseDialect_;
    if (describesNewTypes(serverVersion_)) {
        try {
            askForLegacyTypes(&handle_, sqlDialect_);
        } catch (...) {
            detachQuietly();
            throw;
        }
    }
}

void Attachment::readDatabaseInfo(const char* reply, std::size_t size) {
    const ClientLibrary& lib = clientLibrary();
    databaseDialect_ = 1;
    serverVersion_ = {};
    std::size_t at = 0;
    while (at + 3 <= size && reply[at] != isc_info_end) {
        const char item = reply[at];
        const auto length = static_cast<std::size_t>(lib.vax_integer(reply + at + 1, 2));
        const char* data = reply + at + 3;
        if (at + 3 + length > size) break;
        if (item == isc_info_db_sql_dialect) {
            databaseDialect_ = static_cast<int>(lib.vax_integer(data, static_cast<short>(length)));
        } else if (item == isc_info_firebird_version && length >= 2) {
            // A count of lines, each with its length; the first is the server's own.
            const auto first = static_cast<std::size_t>(static_cast<unsigned char>(data[1]));
            if (first + 2 <= length) serverVersion_ = parseServerVersion(std::string(data + 2, first));
        } else if (item == isc_info_error || item == isc_info_truncated) {
            break;
        }
        at += 3 + length;
    }
}

void Attachment::detachQuietly() noexcept {
    ISC_STATUS_ARRAY status{};
    clientLibrary().detach_database(status, &handle_);
    handle_ = 0;
    databaseDialect_ = 1;
}

void Attachment::closeUsers() noexcept {
    // A user may unregister itself while closing, so walk a copy.
    const std::vector<AttachmentUser*> users = users_;
    for (AttachmentUser* user : users) user->attachmentClosing();
}

void Attachment::endTransactions() noexcept {
    for (Transaction* transaction : transactions_)
        if (transaction->isActive()) transaction->endOnClose();
}

void Attachment::close() {
    if (!isOpen()) return;
    closeUsers();
    endTransactions();
    checkedCall([&](ISC_STATUS* status) { return clientLibrary().detach_database(status, &handle_); },
                [&] {
                    handle_ = 0;
                    databaseDialect_ = 1;
                },
                throwStatus);
    databaseDialect_ = 1;
}

void Attachment::closeWithoutServer(const Transaction* busy) {
    // The statements let go of their handles without calls; the one detach lets the client
    // library release what it holds for the lost connection.
    isc_db_handle lost = handle_;
    handle_ = 0;
    closeUsers();
    for (Transaction* transaction : transactions_) {
        if (transaction == busy)
            transaction->abandon();
        else
            transaction->endAfterLoss(*this);
    }
    ISC_STATUS_ARRAY status{};
    clientLibrary().detach_database(status, &lost);
    databaseDialect_ = 1;
}

void Attachment::raise(const ISC_STATUS* status, const Transaction* busy) {
    DatabaseError error = statusError(status);
    if (isConnectionLoss(status) && isOpen()) {
        lostConnection_ = error;
        closeWithoutServer(busy);
    }
    throw error;
}

}  // namespace db
