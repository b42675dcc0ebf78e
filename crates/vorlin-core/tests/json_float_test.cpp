#include "vorlin_core/render/json_float.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <regex>
#include <string>

namespace vorlin_core {
namespace {

std::string json_float(float value) {
  std::string out;
  append_json_float(out, value);
  return out;
}

struct FloatCase {
  float value;
  const char* expected;
};

class append_json_float_text : public testing::TestWithParam<FloatCase> {};

TEST_P(append_json_float_text, writes_shortest_canonical_form) {
  EXPECT_EQ(json_float(GetParam().value), GetParam().expected);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(cases, append_json_float_text,
                         testing::Values(
                             // Shortest float digits, not those of the double widening.
                             FloatCase{0.1f, "0.1"}, FloatCase{595.27f, "595.27"},
                             FloatCase{841.89f, "841.89"}, FloatCase{123456.79f, "123456.79"},
                             // Whole numbers keep a ".0"; zeros keep their sign.
                             FloatCase{100.0f, "100.0"}, FloatCase{16777216.0f, "16777216.0"},
                             FloatCase{0.0f, "0.0"}, FloatCase{-0.0f, "-0.0"},
                             FloatCase{-2.5f, "-2.5"},
                             // Plain notation exactly for decimal exponents -6..12.
                             FloatCase{1e12f, "1000000000000.0"}, FloatCase{1e13f, "1e+13"},
                             FloatCase{-1.5e12f, "-1500000000000.0"},
                             FloatCase{0.000001f, "0.000001"}, FloatCase{0.0000015f, "0.0000015"},
                             FloatCase{0.001f, "0.001"}, FloatCase{1e-7f, "1e-7"},
                             FloatCase{1.5e20f, "1.5e+20"}, FloatCase{-1.5e-10f, "-1.5e-10"},
                             // Extremes.
                             FloatCase{std::numeric_limits<float>::denorm_min(), "1e-45"},
                             FloatCase{std::numeric_limits<float>::min(), "1.1754944e-38"},
                             FloatCase{std::numeric_limits<float>::max(), "3.4028235e+38"},
                             FloatCase{-std::numeric_limits<float>::max(), "-3.4028235e+38"},
                             // Not numbers in JSON.
                             FloatCase{std::numeric_limits<float>::quiet_NaN(), "null"},
                             FloatCase{-std::numeric_limits<float>::quiet_NaN(), "null"},
                             FloatCase{kInf, "null"}, FloatCase{-kInf, "null"}));

// Every finite float written reads back bit for bit and is a JSON number with the
// notation its exponent calls for.
TEST(append_json_float, round_trips_random_bit_patterns) {
  const std::regex json_number(R"(-?(0|[1-9][0-9]*)\.[0-9]+|-?[1-9](\.[0-9]+)?e[+-][1-9][0-9]*)");
  std::mt19937 random(20240611);
  int checked = 0;
  for (int i = 0; i < 100000; ++i) {
    const auto bits = static_cast<std::uint32_t>(random());
    const float value = std::bit_cast<float>(bits);
    if (!std::isfinite(value)) continue;
    const std::string text = json_float(value);
    ASSERT_EQ(std::bit_cast<std::uint32_t>(std::strtof(text.c_str(), nullptr)), bits) << text;
    ASSERT_TRUE(std::regex_match(text, json_number)) << text;
    const float magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-6f && magnitude < 1e13f);
    ASSERT_EQ(text.find('e') == std::string::npos, plain) << text;
    ++checked;
  }
  EXPECT_GT(checked, 90000);
}

}  // namespace
}  // namespace vorlin_core
