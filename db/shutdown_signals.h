#pragma once

namespace db {

// The client library reacts to SIGINT and SIGTERM by shutting every connection of the process
// down, after which each call fails with "connection shutdown". This declines that shutdown,
// so that the program can end its run at a row boundary with its connections alive; the
// shutdown at the program's exit goes ahead. Does nothing when the library cannot be bound:
// the first attachment then reports it.
void keepConnectionsOnSignals();

}  // namespace db
