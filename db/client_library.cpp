#include "client_library.h"

#include <string>

#include "database_error.h"
#include "dynamic_library.h"

namespace db {

namespace {

template <typename Fn>
void resolve(void* handle, Fn& target, const char* symbol, bool& complete) {
    void* address = platform::librarySymbol(handle, symbol);
    if (address == nullptr) complete = false;
    target = reinterpret_cast<Fn>(address);
}

}  // namespace

ClientLibrary bindClientLibrary(const char* fileName) {
    const std::string notFound = std::string("Firebird client library ") + fileName +
                                 " not found in the path. Please install the Firebird client to use this functionality";
    void* handle = platform::openLibrary(fileName);
    if (handle == nullptr) throw DatabaseError(notFound);
    ClientLibrary lib{};
    bool complete = true;
    resolve(handle, lib.attach_database, "isc_attach_database", complete);
    resolve(handle, lib.detach_database, "isc_detach_database", complete);
    resolve(handle, lib.database_info, "isc_database_info", complete);
    resolve(handle, lib.start_multiple, "isc_start_multiple", complete);
    resolve(handle, lib.commit_retaining, "isc_commit_retaining", complete);
    resolve(handle, lib.commit_transaction, "isc_commit_transaction", complete);
    resolve(handle, lib.rollback_transaction, "isc_rollback_transaction", complete);
    resolve(handle, lib.rollback_retaining, "isc_rollback_retaining", complete);
    resolve(handle, lib.dsql_alloc_statement2, "isc_dsql_alloc_statement2", complete);
    resolve(handle, lib.dsql_prepare, "isc_dsql_prepare", complete);
    resolve(handle, lib.dsql_sql_info, "isc_dsql_sql_info", complete);
    resolve(handle, lib.dsql_describe_bind, "isc_dsql_describe_bind", complete);
    resolve(handle, lib.dsql_describe, "isc_dsql_describe", complete);
    resolve(handle, lib.dsql_execute, "isc_dsql_execute", complete);
    resolve(handle, lib.dsql_fetch, "isc_dsql_fetch", complete);
    resolve(handle, lib.dsql_free_statement, "isc_dsql_free_statement", complete);
    resolve(handle, lib.interprete, "isc_interprete", complete);
    resolve(handle, lib.sqlcode, "isc_sqlcode", complete);
    resolve(handle, lib.vax_integer, "isc_vax_integer", complete);
    resolve(handle, lib.shutdown_callback, "fb_shutdown_callback", complete);
    resolve(handle, lib.service_attach, "isc_service_attach", complete);
    resolve(handle, lib.service_detach, "isc_service_detach", complete);
    resolve(handle, lib.service_start, "isc_service_start", complete);
    resolve(handle, lib.service_query, "isc_service_query", complete);
    resolve(handle, lib.open_blob2, "isc_open_blob2", complete);
    resolve(handle, lib.get_segment, "isc_get_segment", complete);
    resolve(handle, lib.close_blob, "isc_close_blob", complete);
    if (!complete) {
        platform::closeLibrary(handle);
        throw DatabaseError(notFound);
    }
    return lib;
}

const ClientLibrary& clientLibrary() {
    // A failed bind throws out of the initialiser, so the next call tries again.
    static const ClientLibrary lib = bindClientLibrary(platform::firebirdClientLibraryName());
    return lib;
}

}  // namespace db
