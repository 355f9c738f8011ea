#include "legacy_types.h"

#include <string>

#include "checked_call.h"
#include "client_library.h"
#include "database_error.h"

namespace db {

namespace {

constexpr const char* kLegacyBindings[] = {
    "SET BIND OF INT128 TO LEGACY",
    "SET BIND OF DECFLOAT TO LEGACY",
    "SET BIND OF TIME ZONE TO LEGACY",
};

// One transaction existence block, as isc_start_multiple reads it.
struct TransactionExistenceBlock {
    isc_db_handle* database;
    int tpbLength;
    const char* tpb;
};

}  // namespace

void askForLegacyTypes(isc_db_handle* database, int dialect) {
    const ClientLibrary& lib = clientLibrary();
    static const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    isc_tr_handle transaction = 0;
    TransactionExistenceBlock block{database, static_cast<int>(sizeof tpb), tpb};
    checkedCall([&](ISC_STATUS* status) { return lib.start_multiple(status, &transaction, 1, &block); },
                [&] { transaction = 0; }, throwStatus);
    // Whatever fails below, the transaction ends without a trace.
    auto rollBack = [&] {
        ISC_STATUS_ARRAY ignored{};
        lib.rollback_transaction(ignored, &transaction);
    };
    for (const char* sql : kLegacyBindings) {
        isc_stmt_handle statement = 0;
        checkedCall([&](ISC_STATUS* status) { return lib.dsql_alloc_statement2(status, database, &statement); },
                    rollBack, throwStatus);
        auto freeStatement = [&] {
            ISC_STATUS_ARRAY ignored{};
            lib.dsql_free_statement(ignored, &statement, DSQL_drop);
        };
        const std::string text = sql;
        checkedCall(
            [&](ISC_STATUS* status) {
                return lib.dsql_prepare(status, &transaction, &statement, static_cast<unsigned short>(text.size()),
                                        text.c_str(), static_cast<unsigned short>(dialect), nullptr);
            },
            [&] {
                freeStatement();
                rollBack();
            },
            throwStatus);
        checkedCall([&](ISC_STATUS* status) { return lib.dsql_execute(status, &transaction, &statement, 1, nullptr); },
                    [&] {
                        freeStatement();
                        rollBack();
                    },
                    throwStatus);
        freeStatement();
    }
    checkedCall([&](ISC_STATUS* status) { return lib.commit_transaction(status, &transaction); }, rollBack,
                throwStatus);
}

}  // namespace db
