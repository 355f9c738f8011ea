// The checksum that a safety copy's record keeps, as the copy is streamed in pieces and as its file
// is read back, against the published SHA-256 test vectors.
#include "sha256.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_database.h"

namespace {

TEST(Sha256, GivesThePublishedDigestsHoweverTheBytesArePieced) {
    const std::string million(1'000'000, 'a');
    const std::vector<std::pair<std::string, std::string>> vectors = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block's padding.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : vectors) {
        SCOPED_TRACE(message.substr(0, 20));
        for (std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65536}}) {
            engine::Sha256 sha;
            for (std::size_t at = 0; at < message.size(); at += piece)
                sha.add(std::string_view(message).substr(at, piece));
            EXPECT_EQ(sha.hex(), digest) << piece;
        }
    }

    const test_support::TestDatabase unused;  // only for a folder the test may write in
    const std::string file = unused.path() + ".bytes";
    std::ofstream(file, std::ios::binary) << million;
    EXPECT_EQ(engine::fileSha256(file), vectors.back().second);
    EXPECT_EQ(engine::fileSha256(file + ".nenhum"), "");
}

}  // namespace
