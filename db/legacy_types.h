#pragma once

#include <ibase.h>

namespace db {

// Asks a Firebird 4.0 or later server to describe, on this attachment, its newer column types
// as their older equivalents (INT128 as NUMERIC(18) or BIGINT, DECFLOAT as DOUBLE PRECISION,
// times WITH TIME ZONE as those without), which this client library and the access layer
// know. Runs in a transaction of its own, committed at once. Throws DatabaseError.
void askForLegacyTypes(isc_db_handle* database, int dialect);

}  // namespace db
