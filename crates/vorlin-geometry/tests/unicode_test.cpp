#include "vorlin_geometry/unicode.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>

namespace vorlin_geometry::unicode {
namespace {

// The generated tables answer as the ICU they were generated from, for every code point.
TEST(unicode_tables, agree_with_icu) {
  for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
    const auto ch = static_cast<char32_t>(c);
    ASSERT_EQ(static_cast<int>(category(ch)), u_charType(c)) << std::hex << c;
    ASSERT_EQ(is_white_space(ch), u_hasBinaryProperty(c, UCHAR_WHITE_SPACE)) << std::hex << c;
    ASSERT_EQ(is_alphabetic(ch), u_hasBinaryProperty(c, UCHAR_ALPHABETIC)) << std::hex << c;
    ASSERT_EQ(is_grapheme_extend(ch), u_hasBinaryProperty(c, UCHAR_GRAPHEME_EXTEND))
        << std::hex << c;
  }
  EXPECT_EQ(category(0x110000), Category::Cn);
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  ASSERT_TRUE(U_SUCCESS(status));
  // Letters of the alphabetic scripts under the combining diacritical marks.
  for (UChar32 first = 0; first < 0x3000; ++first) {
    for (UChar32 mark = 0x300; mark < 0x370; ++mark) {
      const UChar32 expected = unorm2_composePair(nfc, first, mark);
      ASSERT_EQ(compose_pair(static_cast<char32_t>(first), static_cast<char32_t>(mark)),
                static_cast<char32_t>(expected > 0 ? expected : 0))
          << std::hex << first << ' ' << mark;
    }
  }
}

}  // namespace
}  // namespace vorlin_geometry::unicode
