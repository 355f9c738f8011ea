// Shared libraries on Windows: a library beside the program comes before one in a folder on
// PATH; a library found nowhere gives nullptr. The build puts tavlo_probe_both.dll beside this
// program (copy 1) and in probe-path\ (copy 2), and tavlo_probe_path.dll in probe-path\ only.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dynamic_library.h"
#include "test_files.h"

namespace {

TEST(DynamicLibrary, BesideTheProgramFirstThenWhereWindowsLooks) {
    const std::wstring probes = (windows_test::thisProgram().parent_path() / L"probe-path").native();
    std::wstring path(32768, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    ::SetEnvironmentVariableW(L"PATH", (probes + L";" + path).c_str());

    const struct {
        const char* fileName;
        int copy;  // 0: not found
    } cases[] = {
        {"tavlo_probe_both.dll", 1},
        {"tavlo_probe_path.dll", 2},
        {"tavlo_probe_nowhere.dll", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName);
        void* library = platform::openLibrary(c.fileName);
        if (c.copy == 0) {
            EXPECT_EQ(library, nullptr);
            continue;
        }
        ASSERT_NE(library, nullptr);
        using Probe = int (*)();
        const auto probe = reinterpret_cast<Probe>(platform::librarySymbol(library, "probeCopy"));
        ASSERT_NE(probe, nullptr);
        EXPECT_EQ(probe(), c.copy);
        EXPECT_EQ(platform::librarySymbol(library, "noSuchSymbol"), nullptr);
        platform::closeLibrary(library);
    }
    ::SetEnvironmentVariableW(L"PATH", path.c_str());
}

}  // namespace
