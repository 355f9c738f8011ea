#pragma once

#include <optional>
#include <string>
#include <vector>

#include <ibase.h>

#include "checked_call.h"
#include "database_error.h"
#include "server_version.h"
#include "values.h"

namespace db {

class Transaction;

// Something bound to an attachment that must let go of its server handles when the
// attachment closes: statement objects and table writers.
class AttachmentUser {
public:
    virtual void attachmentClosing() noexcept = 0;

protected:
    ~AttachmentUser() = default;
};

// One open database. Closing it closes everything bound to it and ends every transaction that
// includes it with the transaction's close action (commit unless set otherwise).
class Attachment {
public:
    explicit Attachment(std::string name);
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    const std::string& name() const { return name_; }

    void setConnectionString(const std::string& connection);
    const std::string& connectionString() const { return connection_; }
    void setParams(std::vector<std::string> lines);
    void setSqlDialect(int dialect);
    int sqlDialect() const { return sqlDialect_; }
    int databaseDialect() const { return databaseDialect_; }
    // The version of the server it reached when it was last opened.
    const ServerVersion& serverVersion() const { return serverVersion_; }
    // The value of the "lc_ctype" line as written; "NONE" without one.
    const std::string& characterSet() const { return characterSet_; }

    // How its statements write numbers and dates as text and read them from text. Throws
    // DatabaseError when asked before one was set.
    void setRegionalFormat(const RegionalFormat& format) { regionalFormat_ = format; }
    const RegionalFormat& regionalFormat() const;

    void setDefaultTransaction(Transaction* transaction);
    Transaction* defaultTransaction() const { return defaultTransaction_; }
    const std::vector<Transaction*>& transactions() const { return transactions_; }

    void open();
    void close();
    bool isOpen() const { return handle_ != 0; }
    isc_db_handle* handle() { return &handle_; }

    // Raises the failure of a status vector returned by a call on this attachment. A lost
    // connection first closes the attachment without another call to it: its users drop their
    // handles, since a call on a connection in that state can wait for an answer that never
    // comes, and its transactions end where they also span a live attachment. `busy` is the
    // transaction the failed call ran in, if any: the server may still hold it busy on the lost
    // connection, where ending it waits forever, so it is only forgotten.
    [[noreturn]] void raise(const ISC_STATUS* status, const Transaction* busy = nullptr);

    // Makes a client-library call on this attachment, inside the transaction `busy` when it
    // runs in one; a failure runs the clean-up and is raised as raise() does.
    template <typename Call, typename CleanUp = NoCleanUp>
    void call(Call&& clientCall, CleanUp&& cleanUp = {}, const Transaction* busy = nullptr) {
        checkedCall(clientCall, cleanUp, [this, busy](const ISC_STATUS* status) { raise(status, busy); });
    }

    // The failure with which the connection was lost, while the attachment stays closed after
    // it; objects closed by the loss report it instead of their own state.
    const std::optional<DatabaseError>& lostConnection() const { return lostConnection_; }

    void addUser(AttachmentUser* user);
    void removeUser(AttachmentUser* user);

private:
    friend class Transaction;
    void addTransaction(Transaction* transaction);
    void removeTransaction(Transaction* transaction);
    void closeWithoutServer(const Transaction* busy);
    void detachQuietly() noexcept;
    void readDatabaseInfo(const char* reply, std::size_t size);
    void closeUsers() noexcept;
    void endTransactions() noexcept;

    std::string name_;
    std::string connection_;
    std::vector<std::string> params_;
    bool paramsChanged_ = true;
    std::vector<char> dpb_;
    bool dpbUtf8_ = false;
    std::string characterSet_ = "NONE";
    int sqlDialect_ = 3;
    int databaseDialect_ = 1;
    ServerVersion serverVersion_;
    isc_db_handle handle_ = 0;
    Transaction* defaultTransaction_ = nullptr;
    std::vector<Transaction*> transactions_;
    std::vector<AttachmentUser*> users_;
    std::optional<DatabaseError> lostConnection_;
    std::optional<RegionalFormat> regionalFormat_;
};

}  // namespace db
