#pragma once

namespace platform {

// The file name of the Firebird client library on this platform.
const char* firebirdClientLibraryName();

// Loads a shared library by its file name where the platform looks for libraries; nullptr
// when it cannot be loaded. The library stays loaded until closeLibrary.
void* openLibrary(const char* fileName);
// The address of an exported symbol, or nullptr.
void* librarySymbol(void* library, const char* name);
void closeLibrary(void* library);

}  // namespace platform
