// File paths on Windows: UTF-16 for the file APIs whatever the characters; the ANSI code page
// for the Firebird client, refusing what that code page cannot hold. The tests run with the
// code page of a Brazilian Windows, 1252, which wine gives under the C.UTF-8 locale CTest sets.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "file_paths.h"
#include "test_files.h"

namespace {

struct ClientBytesCase {
    const char* utf8;
    const char* bytes;  // nullptr: refused
};

TEST(FileNames, ClientBytesAreTheAnsiCodePageAndNamesOutsideItAreRefused) {
    const ClientBytesCase cases[] = {
        {"C:\\Dados\\merak.fdb", "C:\\Dados\\merak.fdb"},
        {"C:\\Área de Trabalho\\Ação\\merak.fdb", "C:\\\xc1rea de Trabalho\\A\xe7\xe3o\\merak.fdb"},
        {"D:\\São Paulo – 2º\\€.fdb", "D:\\S\xe3o Paulo \x96 2\xba\\\x80.fdb"},
        {"localhost:C:\\Bancos\\Pão de Açúcar.fdb",
         "localhost:C:\\Bancos\\P\xe3o de A\xe7\xfa"
         "car.fdb"},
        // Windows' best fit would give "Lodz" and "Istanbul", names of other files.
        {"C:\\Łódź\\merak.fdb", nullptr},
        {"C:\\İstanbul\\merak.fdb", nullptr},
        {"C:\\日本\\merak.fdb", nullptr},
    };
    for (const ClientBytesCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        if (c.bytes != nullptr) {
            EXPECT_EQ(platform::toFileNameBytes(c.utf8), c.bytes);
            continue;
        }
        try {
            platform::toFileNameBytes(c.utf8);
            ADD_FAILURE() << "not refused";
        } catch (const std::runtime_error& refusal) {
            const std::string message = refusal.what();
            EXPECT_NE(message.find(c.utf8), std::string::npos) << message;
            EXPECT_NE(message.find("1252"), std::string::npos) << message;
        }
    }
}

TEST(FileNames, FileApisGetUtf16AndTheUtf8NameComesBack) {
    const struct {
        const char* utf8;
        const wchar_t* utf16;
    } cases[] = {
        {"C:\\Dados\\merak.fdb", L"C:\\Dados\\merak.fdb"},
        {"C:\\Łódź\\Ação\\merak.fdb", L"C:\\\u0141\u00f3d\u017a\\A\u00e7\u00e3o\\merak.fdb"},
        {"\\\\servidor\\日本\\x.fbk", L"\\\\servidor\\\u65e5\u672c\\x.fbk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(platform::filePath(c.utf8).native(), c.utf16);
        EXPECT_EQ(platform::utf8Path(std::filesystem::path(c.utf16)), c.utf8);
    }
}

TEST(FileNames, AFileNamedOutsideTheCodePageIsWrittenFoundAndReadAgain) {
    const windows_test::TemporaryFolder folder("Łódź Ação");
    const std::string name = "Żółć – Configuração.ini";
    std::ofstream(platform::filePath(folder.utf8() + name), std::ios::binary) << "[Bancos]\r\n";

    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        listed.push_back(platform::utf8Path(entry.path().filename()));
    EXPECT_EQ(listed, std::vector<std::string>{name});
    EXPECT_EQ(windows_test::readAll(platform::filePath(folder.utf8() + name)), "[Bancos]\r\n");

    std::FILE* file = platform::openFile(folder.utf8() + name, "ab");
    ASSERT_NE(file, nullptr);
    std::fputs("Origem=C:\\Łódź\\tavlo.fdb\r\n", file);
    std::fclose(file);
    EXPECT_EQ(windows_test::readAll(platform::filePath(folder.utf8() + name)),
              "[Bancos]\r\nOrigem=C:\\Łódź\\tavlo.fdb\r\n");
    EXPECT_EQ(platform::openFile(folder.utf8() + "Żółć\\nenhum.ini", "rb"), nullptr);
}

}  // namespace
