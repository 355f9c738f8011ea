#include "parameter_blocks.h"

#include <gtest/gtest.h>

#include "database_error.h"

namespace {

std::vector<char> bytes(std::initializer_list<int> values) {
    std::vector<char> out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::vector<char> operator+(std::vector<char> a, const std::string& text) {
    a.insert(a.end(), text.begin(), text.end());
    return a;
}

std::vector<char> operator+(std::vector<char> a, const std::vector<char>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(DatabaseParameterBlock, DestinationLinesGiveThe32ByteBlock) {
    const db::DatabaseParameterBlock block =
        db::buildDatabaseParameterBlock({"user_name=SYSDBA", "password=pinewheel", "lc_ctype=ISO8859_1 "});
    const std::vector<char> expected = bytes({1, 28, 6}) + std::string("SYSDBA") + bytes({29, 9}) +
                                       std::string("pinewheel") + bytes({48, 10}) + std::string("ISO8859_1 ");
    EXPECT_EQ(block.bytes, expected);
    EXPECT_EQ(block.bytes.size(), 32u);
    EXPECT_EQ(block.characterSet, "ISO8859_1 ");
}

TEST(DatabaseParameterBlock, ALetterBeyondAsciiSendsEveryTextInUtf8AndSaysSo) {
    const db::DatabaseParameterBlock block =
        db::buildDatabaseParameterBlock({"user_name=SYSDBA", "password=p\xC3\xA3o", "lc_ctype=ISO8859_1 "});
    const std::vector<char> expected = bytes({1, 28, 6}) + std::string("SYSDBA") + bytes({29, 4}) +
                                       std::string("p\xC3\xA3o") + bytes({48, 10}) + std::string("ISO8859_1 ") +
                                       bytes({isc_dpb_utf8_filename, 0});
    EXPECT_EQ(block.bytes, expected);
    EXPECT_TRUE(block.utf8);
    EXPECT_FALSE(db::buildDatabaseParameterBlock({"user_name=SYSDBA", "password=pinewheel"}).utf8);
}

TEST(DatabaseParameterBlock, SourceLinesGiveThe20ByteBlock) {
    const db::DatabaseParameterBlock block =
        db::buildDatabaseParameterBlock({"user_name=sysdba", "password=pinewheel"});
    EXPECT_EQ(block.bytes, bytes({1, 28, 6}) + std::string("sysdba") + bytes({29, 9}) + std::string("pinewheel"));
    EXPECT_FALSE(block.characterSet.has_value());
}

TEST(DatabaseParameterBlock, NamesAreLowerCasedAndLosePrefixButValuesKeepTheirBlanks) {
    const auto plain = db::buildDatabaseParameterBlock({"user_name=A B "});
    EXPECT_EQ(db::buildDatabaseParameterBlock({"isc_dpb_user_name=A B "}).bytes, plain.bytes);
    EXPECT_EQ(db::buildDatabaseParameterBlock({"ISC_DPB_USER_NAME=A B "}).bytes, plain.bytes);
    EXPECT_EQ(plain.bytes, bytes({1, 28, 4}) + std::string("A B "));
    // Lines without a name are skipped.
    EXPECT_EQ(db::buildDatabaseParameterBlock({"", "  =x", "user_name=A B "}).bytes, plain.bytes);
}

TEST(DatabaseParameterBlock, UnknownAndUnsupportedNamesFailWithTheirTexts) {
    struct Case {
        std::string line;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{
             {"username=x", "DPB Constant (username) is unknown"},
             {"isc_dpb_nonsense=1", "DPB Constant (nonsense) is unknown"},
             {"num_buffers=100", "DPB Constant (isc_dpb_num_buffers) is unsupported"},
             {"sys_encrypt_password=x", "DPB Constant (isc_dpb_sys_encrypt_password) is unsupported"},
         }) {
        try {
            db::buildDatabaseParameterBlock({c.line});
            ADD_FAILURE() << c.line;
        } catch (const db::DatabaseError& e) {
            EXPECT_STREQ(e.text(), c.text.c_str());
        }
    }
}

TEST(TransactionParameterBlock, ReadCommittedRecVersionNowait) {
    EXPECT_EQ(db::buildTransactionParameterBlock({"read_committed", "rec_version", "nowait"}), bytes({3, 15, 17, 7}));
    EXPECT_EQ(db::buildTransactionParameterBlock({"isc_tpb_read_committed", "", "Rec_Version", "nowait=1"}),
              bytes({3, 15, 17, 7}));
    EXPECT_TRUE(db::buildTransactionParameterBlock({}).empty());
}

TEST(TransactionParameterBlock, UnknownNameFails) {
    try {
        db::buildTransactionParameterBlock({"read_commited"});
        ADD_FAILURE();
    } catch (const db::DatabaseError& e) {
        EXPECT_STREQ(e.text(), "TPB Constant (read_commited) is unknown");
    }
}

}  // namespace
