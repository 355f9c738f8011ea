#include "profile_file.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "test_database.h"

namespace {

class ProfileFileTest : public testing::Test {
protected:
    QTemporaryDir folder;
    std::string path = folder.path().toStdString() + "/Config.ini";
    engine::ProfileFile file{path};

    void writeBytes(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    std::string bytes() const { return test_support::readFile(path); }
};

TEST_F(ProfileFileTest, MissingFileGivesTheDefaultAndTheFirstWriteCreatesItInWindows1252) {
    EXPECT_EQ(file.readString("Bancos", "Origem", "nada"), "nada");

    file.writeString("Bancos", "Origem", "/dados/São Paulo.fdb");
    file.writeString("Bancos", "Destino", "");

    EXPECT_EQ(bytes(), "[Bancos]\r\nOrigem=/dados/S\xE3o Paulo.fdb\r\nDestino=\r\n");
    EXPECT_EQ(file.readString("Bancos", "Origem", ""), "/dados/São Paulo.fdb");
    EXPECT_EQ(file.readString("Bancos", "Destino", "nada"), "");
}

TEST_F(ProfileFileTest, ReadDropsSurroundingBlanksAndOnePairOfQuotes) {
    struct Case {
        const char* line;
        const char* value;
    };
    const Case cases[] = {
        {"Origem=/dados/tavlo.fdb", "/dados/tavlo.fdb"},
        {"Origem = \t/dados/tavlo.fdb  ", "/dados/tavlo.fdb"},
        {"Origem=\"/dados/tavlo base.fdb\"", "/dados/tavlo base.fdb"},
        {"Origem=  \" /dados/x.fdb \"  ", " /dados/x.fdb "},
        {"Origem=\"\"/dados/x.fdb\"\"", "\"/dados/x.fdb\""},
        {"Origem=\"/dados/x.fdb", "\"/dados/x.fdb"},
        {"Origem=a=b", "a=b"},
        {"origem=lower-case key", "lower-case key"},
    };
    for (const Case& c : cases) {
        writeBytes(std::string("[bancos]\r\n") + c.line + "\r\n");
        EXPECT_EQ(file.readString("Bancos", "Origem", "default"), c.value) << c.line;
    }
}

TEST_F(ProfileFileTest, AFileSavedInUtf8WithAByteOrderMarkReadsAsWithout) {
    writeBytes("\xEF\xBB\xBF[Bancos]\r\nOrigem=/dados/S\xC3\xA3o Paulo.fdb\r\nDestino=/dados/merak.fdb\r\n");
    EXPECT_EQ(file.readString("Bancos", "Origem", ""), "/dados/São Paulo.fdb");
    EXPECT_EQ(file.readString("Bancos", "Destino", ""), "/dados/merak.fdb");
}

TEST_F(ProfileFileTest, KeysOfOtherSectionsAndCommentedKeysAreNotRead) {
    writeBytes(
        "; Origem=comentado\r\n[Outra]\r\nOrigem=/outra.fdb\r\n[Bancos]\r\n;Origem=/comentado.fdb\r\nDestino=/d.fdb");
    EXPECT_EQ(file.readString("Bancos", "Origem", "default"), "default");
    EXPECT_EQ(file.readString("Bancos", "Destino", "default"), "/d.fdb");
    EXPECT_EQ(file.readString("Nenhuma", "Destino", "default"), "default");
}

TEST_F(ProfileFileTest, WritingChangesOnlyItsKeyAndKeepsEverythingElse) {
    writeBytes(
        "; configura\xE7\xE3o\n"
        "[Outra]\n"
        "Origem=/outra.fdb\n"
        "\n"
        "[Bancos]\n"
        "; os bancos\n"
        "Extra = 1\n"
        "ORIGEM=/velho.fdb\n"
        "\n"
        "[Fim]\n"
        "X=y");

    file.writeString("Bancos", "Origem", "/novo.fdb");
    file.writeString("Bancos", "Destino", "/destino.fdb");
    file.writeString("Nova", "Chave", "valor");

    EXPECT_EQ(bytes(),
              "; configura\xE7\xE3o\n"
              "[Outra]\n"
              "Origem=/outra.fdb\n"
              "\n"
              "[Bancos]\n"
              "; os bancos\n"
              "Extra = 1\n"
              "Origem=/novo.fdb\n"
              "Destino=/destino.fdb\r\n"
              "\n"
              "[Fim]\n"
              "X=y\r\n"
              "\r\n"
              "[Nova]\r\n"
              "Chave=valor\r\n");
}

TEST_F(ProfileFileTest, ValuesAreReadBackWithAtMost2047Characters) {
    const std::string longValue = "/" + std::string(2999, 'a');
    file.writeString("Bancos", "Origem", longValue);
    EXPECT_EQ(file.readString("Bancos", "Origem", ""), longValue.substr(0, 2047));

    const std::string accented = std::string(2046, 'a') + "çã";
    file.writeString("Bancos", "Origem", accented);
    EXPECT_EQ(file.readString("Bancos", "Origem", ""), std::string(2046, 'a') + "ç");
}

TEST_F(ProfileFileTest, AFileThatCannotBeWrittenRaisesUnableToWrite) {
    std::filesystem::create_directory(path);
    EXPECT_EQ(file.readString("Bancos", "Origem", "default"), "default");
    try {
        file.writeString("Bancos", "Origem", "/x.fdb");
        FAIL() << "no failure raised";
    } catch (const std::runtime_error& failure) {
        EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
    }
}

}  // namespace
