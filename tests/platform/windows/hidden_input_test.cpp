// A password read on Windows when standard input is no console (a file, a pipe): the line as it
// is, the line end of a Windows file left out, nothing at the end of the input. Neither a file
// nor NUL counts as a terminal, though the C runtime's _isatty says yes for NUL.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "child_process.h"
#include "file_paths.h"
#include "test_files.h"

namespace {

TEST(HiddenInput, AFileOnStandardInputGivesItsFirstLine) {
    const windows_test::TemporaryFolder folder("Senha");
    const struct {
        const char* input;
        const char* read;
    } cases[] = {
        {"segredo açúcar\r\nresto\r\n", "[segredo açúcar]"},
        {"sem fim de linha", "[sem fim de linha]"},
        {"\r\n", "[]"},
        {"", "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string input = folder.utf8() + "entrada.txt";
        const std::string answer = folder.utf8() + "lida.txt";
        std::ofstream(platform::filePath(input), std::ios::binary) << c.input;
        windows_test::ChildProcess child(windows_test::thisProgram().native(),
                                         {L"--read-hidden", platform::filePath(answer)},
                                         platform::filePath(folder.utf8() + "saida.txt"), platform::filePath(input));
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.wait(), 0);
        EXPECT_EQ(windows_test::readAll(platform::filePath(answer)), c.read);
    }
}

TEST(Terminal, NeitherAFileNorNulIsATerminal) {
    const windows_test::TemporaryFolder folder;
    const std::string input = folder.utf8() + "entrada.txt";
    std::ofstream(platform::filePath(input), std::ios::binary) << "x\r\n";
    for (const std::wstring& source : {platform::filePath(input).native(), std::wstring(L"NUL")}) {
        SCOPED_TRACE(platform::utf8Path(source));
        const std::string answer = folder.utf8() + "terminais.txt";
        windows_test::ChildProcess child(windows_test::thisProgram().native(),
                                         {L"--terminals", platform::filePath(answer)},
                                         platform::filePath(folder.utf8() + "saida.txt"), source);
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.wait(), 0);
        EXPECT_EQ(windows_test::readAll(platform::filePath(answer)), "input no, errors no");
    }
}

}  // namespace
