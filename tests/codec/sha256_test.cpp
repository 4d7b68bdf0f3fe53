#include "codec/sha256.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Hex(const codec::Sha256Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const std::uint8_t byte : digest) hex += {kDigits[byte >> 4], kDigits[byte & 0xF]};
  return hex;
}

std::string HashOf(std::string_view text) {
  return Hex(codec::Sha256Of({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
}

// The examples of FIPS 180-4 as NIST publishes them.
TEST(Sha256, GivesTheStandardsExampleDigests) {
  EXPECT_EQ(HashOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HashOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(HashOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(
      HashOf("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklm"
             "nopqrlmnopqrsmnopqrstnopqrstu"),
      "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  EXPECT_EQ(HashOf(std::string(1000000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// Messages that end just before, at and after the length where the padding takes a block of
// its own (digests from coreutils' sha256sum).
TEST(Sha256, PadsAtEveryLengthAroundABlocksEnd) {
  EXPECT_EQ(HashOf(std::string(55, 'a')),
            "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
  EXPECT_EQ(HashOf(std::string(56, 'a')),
            "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
  EXPECT_EQ(HashOf(std::string(63, 'a')),
            "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34");
  EXPECT_EQ(HashOf(std::string(64, 'a')),
            "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
  EXPECT_EQ(HashOf(std::string(65, 'a')),
            "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0");
}

// Pieces of any size give the digest of the whole message, and a digest taken on the way
// is that of the bytes so far and leaves the rest to come.
TEST(Sha256, GivesTheSameDigestForAMessageInAnyPieces) {
  std::mt19937 random(11);
  std::vector<std::uint8_t> message(5000);
  for (auto& byte : message) byte = static_cast<std::uint8_t>(random());
  codec::Sha256 whole;
  whole.Add(message.data(), message.size());
  const codec::Sha256Digest expected = whole.Digest();
  for (int round = 0; round < 20; ++round) {
    codec::Sha256 sha;
    std::size_t at = 0;
    while (at < message.size()) {
      const std::size_t piece = std::min<std::size_t>(random() % 150, message.size() - at);
      sha.Add(message.data() + at, piece);
      at += piece;
      codec::Sha256 prefix;
      prefix.Add(message.data(), at);
      ASSERT_EQ(sha.Digest(), prefix.Digest()) << "round " << round << ", at " << at;
    }
    EXPECT_EQ(sha.Digest(), expected) << "round " << round;
  }
}

}  // namespace
