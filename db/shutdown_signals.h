#pragma once

namespace db {

// The client library installs SIGINT and SIGTERM handlers of its own the first time it is asked
// to attach: they shut every connection of the process down (each later call fails with
// "connection shutdown"), they make an interrupted read start again, and a signal that reaches
// them can crash the library at the program's exit. This makes the library install them now,
// through an attachment it refuses at once, and declines the shutdown they would start; handlers
// that the program installs afterwards then replace the library's for good. Does nothing when
// the library cannot be bound: the first attachment reports that.
void settleLibrarySignalHandling();

}  // namespace db
