#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <ibase.h>

#include "column_fault.h"

namespace db {

// What a failure is about, as the server's error codes say.
enum class FailureKind {
    // The statement's or its data's (a constraint, a truncation, a conversion, a lock
    // conflict), or the access layer's own.
    Statement,
    // The connection or the attachment is gone: a lost connection, a network read or write
    // error, a network request that cannot complete, the attachment or the database shut down.
    ConnectionLoss,
    // The server could not read or write the database file (a full disk, a failing device),
    // whatever the system's reason in the secondary code.
    ServerIo,
    // The program used the access layer wrongly (a field or parameter that is not there by its
    // own declaration, a row posted outside its edit): no database content or schema causes
    // it, so it is never a row's refusal.
    Internal,
};

// A database file that the server will not open because another Firebird version made it:
// the file as the server names it, the on-disk structure found and the one the server opens.
struct StructureMismatch {
    std::string file;
    long foundMajor = 0;
    long foundMinor = 0;
    long supportedMajor = 0;
    long supportedMinor = 0;
};

// The one failure type of the access layer. It carries the failure text exactly as the
// rest of the system copies it into logs and messages, and, for a server error, the SQL
// code and the error codes of the status vector.
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& text, long sqlCode = 0, std::vector<long> errorCodes = {});
    // A failure of kind Internal.
    static DatabaseError internal(const std::string& text);

    const char* text() const noexcept { return what(); }
    long sqlCode() const noexcept { return sqlCode_; }
    // The first error code of the status vector; 0 for the layer's own failures.
    long errorCode() const noexcept { return errorCodes_.empty() ? 0 : errorCodes_.front(); }
    bool hasCode(long code) const noexcept;
    // ConnectionLoss and ServerIo are no statement's doing: no row, statement or retry in the
    // same attachment can succeed past them.
    FailureKind kind() const noexcept;

    // The column at fault and its value, when the failure names one; the text is unchanged.
    const std::optional<ColumnFault>& columnFault() const noexcept { return columnFault_; }
    DatabaseError& withColumnFault(ColumnFault fault) {
        columnFault_ = std::move(fault);
        return *this;
    }

    // Set when the server refused the file for its on-disk structure (isc_wrong_ods).
    const std::optional<StructureMismatch>& structureMismatch() const noexcept { return structureMismatch_; }
    DatabaseError& withStructureMismatch(StructureMismatch mismatch) {
        structureMismatch_ = std::move(mismatch);
        return *this;
    }

private:
    long sqlCode_;
    std::vector<long> errorCodes_;
    bool internal_ = false;
    std::optional<ColumnFault> columnFault_;
    std::optional<StructureMismatch> structureMismatch_;
};

// Composes the failure of a status vector: the server's lines joined by CR LF, one final
// period removed, nothing else added.
DatabaseError statusError(const ISC_STATUS* status);

// Raises the failure of a status vector.
[[noreturn]] void throwStatus(const ISC_STATUS* status);

// True when the status vector reports that the attachment is gone (FailureKind::ConnectionLoss):
// a broken connection to the server (lost connection, network read or write error, a network
// request that cannot complete) or the database or attachment shut down under it. Further calls on such an attachment
// can wait for an answer that never comes, so the attachment is closed without them.
bool isConnectionLoss(const ISC_STATUS* status);

}  // namespace db
