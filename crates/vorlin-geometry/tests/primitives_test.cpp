#include "vorlin_geometry/primitives.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <numeric>

#include "fixtures.h"
#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

using testing::kInf;
using testing::kNaN;

TEST(upper_median, takes_the_larger_middle_value) {
  const std::vector<std::pair<std::vector<float>, std::optional<float>>> cases = {
      {{4, 1, 3, 2}, 3}, {{7, 1}, 7}, {{5}, 5}, {{2, 9, 1}, 2}, {{}, std::nullopt}};
  for (const auto& [values, median] : cases) EXPECT_EQ(upper_median(values), median);
}

TEST(is_valid_size, accepts_only_finite_positive_values) {
  const float denorm = std::numeric_limits<float>::denorm_min();
  for (float v : {0.0f, -0.0f, -1.0f, kNaN, kInf, -kInf}) EXPECT_FALSE(is_valid_size(v)) << v;
  for (float v : {denorm, 1.0f, 12.5f}) EXPECT_TRUE(is_valid_size(v)) << v;
}

// The ASCII shortcuts and the table lookups beside them answer as ICU does, for every code point.
TEST(char_classes, follow_unicode_properties) {
  for (UChar32 c = 0; c <= 0x110000; ++c) {
    const auto ch = static_cast<char32_t>(c);
    const int category = u_charType(c);
    const bool alphabetic = u_hasBinaryProperty(c, UCHAR_ALPHABETIC);
    ASSERT_EQ(is_whitespace(ch), u_hasBinaryProperty(c, UCHAR_WHITE_SPACE)) << std::hex << c;
    ASSERT_EQ(is_alphabetic(ch), alphabetic) << std::hex << c;
    ASSERT_EQ(is_alphanumeric(ch), alphabetic || category == U_DECIMAL_DIGIT_NUMBER ||
                                       category == U_LETTER_NUMBER || category == U_OTHER_NUMBER)
        << std::hex << c;
  }
}

TEST(stable_sort_by_float_key, keeps_ties_in_order_and_puts_nan_last) {
  const std::vector<float> keys = {2, kNaN, 1, 2, -kInf, kNaN, 1, -0.0f, 0.0f};
  std::vector<std::size_t> up = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<std::size_t> down = up;
  stable_sort_by_float_key(up, [&](std::size_t p) { return keys[p]; }, SortOrder::Ascending);
  stable_sort_by_float_key(down, [&](std::size_t p) { return keys[p]; }, SortOrder::Descending);
  EXPECT_EQ(up, (std::vector<std::size_t>{4, 7, 8, 2, 6, 0, 3, 1, 5}));
  EXPECT_EQ(down, (std::vector<std::size_t>{0, 3, 2, 6, 7, 8, 4, 1, 5}));
  // Longer input, in sorted runs as text arrives, must land where a plain stable sort puts it.
  std::vector<float> many;
  for (std::size_t i = 0; i < 200; ++i) many.push_back(keys[i / 4 % keys.size()]);
  for (const auto order : {SortOrder::Ascending, SortOrder::Descending}) {
    std::vector<std::size_t> got(many.size()), want(many.size());
    std::iota(got.begin(), got.end(), std::size_t{0});
    std::iota(want.begin(), want.end(), std::size_t{0});
    stable_sort_by_float_key(got, [&](std::size_t p) { return many[p]; }, order);
    std::ranges::stable_sort(want, [&](std::size_t a, std::size_t b) {
      return order == SortOrder::Ascending ? float_less_nan_last(many[a], many[b])
                                           : float_greater_nan_last(many[a], many[b]);
    });
    EXPECT_EQ(got, want);
  }
}

// Encoding invalid scalars is pinned through block_text.
TEST(decode_utf8, reads_a_lone_continuation_and_a_truncated_sequence_as_one_fffd_each) {
  EXPECT_EQ(decode_utf8("a\x80" "b\xE2\x82"), U"a\uFFFDb\uFFFD");
}

}  // namespace
}  // namespace vorlin_geometry
