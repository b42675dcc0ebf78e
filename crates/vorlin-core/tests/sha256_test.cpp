#include "vorlin_core/backend/sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace vorlin_core {
namespace {

// FIPS 180-4 example digests, through both kinds of rounds, the input fed in uneven pieces.
TEST(sha256, known_digests_with_and_without_cpu_extensions) {
  const std::string million(1'000'000, 'a');
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
  for (const bool cpu_extensions : {true, false}) {
    for (const auto& [text, digest] : cases) {
      Sha256 sha(cpu_extensions);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
      for (std::size_t at = 0, piece = 1; at < text.size(); at += piece, piece = piece * 3 + 1) {
        sha.update({bytes + at, std::min(piece, text.size() - at)});
      }
      EXPECT_EQ(sha.hex(), digest) << text.size() << " bytes, extensions " << cpu_extensions;
    }
  }
}

}  // namespace
}  // namespace vorlin_core
