#include "database_error.h"

#include <utility>

#include "client_library.h"
#include "server_lines.h"
#include "status_items.h"

namespace db {

DatabaseError::DatabaseError(const std::string& text, long sqlCode, std::vector<long> errorCodes)
    : std::runtime_error(text), sqlCode_(sqlCode), errorCodes_(std::move(errorCodes)) {}

DatabaseError DatabaseError::internal(const std::string& text) {
    DatabaseError failure(text);
    failure.internal_ = true;
    return failure;
}

bool DatabaseError::hasCode(long code) const noexcept {
    for (long c : errorCodes_)
        if (c == code) return true;
    return false;
}

namespace {

bool isConnectionLossCode(long code) {
    return code == isc_lost_db_connection || code == isc_net_read_err || code == isc_net_write_err ||
           code == isc_network_error || code == isc_att_shutdown || code == isc_shutdown;
}

// The error codes of a status vector: the value after every isc_arg_gds item.
std::vector<long> errorCodesOf(const ISC_STATUS* status) {
    std::vector<long> codes;
    const ISC_STATUS* item = status;
    while (*item != isc_arg_end) {
        const ISC_STATUS kind = item[0];
        if (kind == isc_arg_gds) codes.push_back(static_cast<long>(item[1]));
        if (kind == isc_arg_cstring) {
            item += 3;
        } else {
            item += 2;
        }
    }
    return codes;
}

std::optional<StructureMismatch> structureMismatchOf(const ISC_STATUS* status) {
    const std::vector<StatusItem> items = itemsOf(status);
    const StatusItem* wrong = find(items, isc_wrong_ods);
    if (wrong == nullptr || wrong->texts.empty() || wrong->numbers.size() < 4) return std::nullopt;
    return StructureMismatch{wrong->texts[0], wrong->numbers[0], wrong->numbers[1], wrong->numbers[2],
                             wrong->numbers[3]};
}

}  // namespace

FailureKind DatabaseError::kind() const noexcept {
    if (internal_) return FailureKind::Internal;
    for (long code : errorCodes_)
        if (isConnectionLossCode(code)) return FailureKind::ConnectionLoss;
    if (hasCode(isc_io_error)) return FailureKind::ServerIo;
    return FailureKind::Statement;
}

bool isConnectionLoss(const ISC_STATUS* status) {
    for (long code : errorCodesOf(status))
        if (isConnectionLossCode(code)) return true;
    return false;
}

DatabaseError statusError(const ISC_STATUS* status) {
    const ClientLibrary& lib = clientLibrary();
    std::string text;
    char line[1024];
    // isc_interprete walks a pointer along the vector; it does not write to the vector.
    auto* cursor = const_cast<ISC_STATUS*>(status);
    while (lib.interprete(line, &cursor) != 0) {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text += fromServerLine(line);
    }
    if (!text.empty() && text.back() == '.') text.pop_back();
    const long sqlCode = static_cast<long>(lib.sqlcode(status));
    DatabaseError failure(text, sqlCode, errorCodesOf(status));
    if (std::optional<ColumnFault> fault = columnFaultOf(status)) failure.withColumnFault(std::move(*fault));
    if (std::optional<StructureMismatch> mismatch = structureMismatchOf(status))
        failure.withStructureMismatch(std::move(*mismatch));
    return failure;
}

void throwStatus(const ISC_STATUS* status) { throw statusError(status); }

}  // namespace db
