#pragma once

#include <ibase.h>

namespace db {

// The entry points of the Firebird client library that the access layer calls.
// The library is bound at run time, once per process, by the platform's file name for it.
struct ClientLibrary {
    decltype(&::isc_attach_database) attach_database;
    decltype(&::isc_detach_database) detach_database;
    decltype(&::isc_database_info) database_info;
    decltype(&::isc_start_multiple) start_multiple;
    decltype(&::isc_commit_retaining) commit_retaining;
    decltype(&::isc_commit_transaction) commit_transaction;
    decltype(&::isc_rollback_transaction) rollback_transaction;
    decltype(&::isc_rollback_retaining) rollback_retaining;
    decltype(&::isc_dsql_alloc_statement2) dsql_alloc_statement2;
    decltype(&::isc_dsql_prepare) dsql_prepare;
    decltype(&::isc_dsql_sql_info) dsql_sql_info;
    decltype(&::isc_dsql_describe_bind) dsql_describe_bind;
    decltype(&::isc_dsql_describe) dsql_describe;
    decltype(&::isc_dsql_execute) dsql_execute;
    decltype(&::isc_dsql_fetch) dsql_fetch;
    decltype(&::isc_dsql_free_statement) dsql_free_statement;
// isc_interprete is marked deprecated in favour of fb_interpret; the failure texts of this
// system are defined by isc_interprete's lines, so it is the one called.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    decltype(&::isc_interprete) interprete;
#pragma GCC diagnostic pop
    decltype(&::isc_sqlcode) sqlcode;
    decltype(&::isc_vax_integer) vax_integer;
    decltype(&::fb_shutdown_callback) shutdown_callback;
    // The server's services: backup and restore.
    decltype(&::isc_service_attach) service_attach;
    decltype(&::isc_service_detach) service_detach;
    decltype(&::isc_service_start) service_start;
    decltype(&::isc_service_query) service_query;
    decltype(&::isc_open_blob2) open_blob2;
    decltype(&::isc_get_segment) get_segment;
    decltype(&::isc_close_blob) close_blob;
};

// Binds the client library on first use and returns its entry points.
// Throws DatabaseError with the "not found" text when it cannot be bound.
const ClientLibrary& clientLibrary();

// Binds the library of the given file name; throws DatabaseError naming it when it cannot.
ClientLibrary bindClientLibrary(const char* fileName);

}  // namespace db
