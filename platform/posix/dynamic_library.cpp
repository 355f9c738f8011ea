// Shared libraries on POSIX systems: dlopen(3) by name.
#include "dynamic_library.h"

#include <dlfcn.h>

namespace platform {

const char* firebirdClientLibraryName() { return "libfbclient.so.2"; }

void* openLibrary(const char* fileName) { return ::dlopen(fileName, RTLD_NOW | RTLD_GLOBAL); }

void* librarySymbol(void* library, const char* name) { return ::dlsym(library, name); }

void closeLibrary(void* library) { ::dlclose(library); }

}  // namespace platform
