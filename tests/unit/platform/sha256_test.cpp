// The SHA-256 seam against known vectors, whole and fed in pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sha256.h"

namespace {

struct Vector {
    std::vector<std::string> pieces;
    const char* hex;
};

const Vector kVectors[] = {
    {{""}, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {{"abc"}, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {{"a", "", "bc"}, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"},
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
};

}  // namespace

TEST(Sha256, KnownVectorsWholeAndInPieces) {
    for (const Vector& v : kVectors) {
        platform::Sha256 hash;
        for (const std::string& piece : v.pieces) EXPECT_TRUE(hash.Add(piece.data(), piece.size()));
        uint8_t digest[platform::kSha256Size];
        ASSERT_TRUE(hash.Finish(digest));
        EXPECT_FALSE(hash.Failed());
        EXPECT_EQ(platform::HexLower(digest, sizeof digest), v.hex);
        if (v.pieces.size() == 1) {
            EXPECT_EQ(platform::Sha256Hex(v.pieces[0].data(), v.pieces[0].size()), v.hex);
        }
    }
}
