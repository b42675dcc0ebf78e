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

// What the round trip below cannot see: the shortest digits, signed zeros, exact boundaries of
// the plain notation, a lone digit before the exponent, and what is not a JSON number.
TEST(append_json_float, writes_shortest_canonical_form) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  constexpr float kInf = std::numeric_limits<float>::infinity();
  // clang-format off
  const std::vector<std::pair<float, const char*>> cases = {
      {0.1f, "0.1"}, {595.27f, "595.27"}, {100.0f, "100.0"}, {16777216.0f, "16777216.0"},
      {0.0f, "0.0"}, {-0.0f, "-0.0"}, {-2.5f, "-2.5"}, {1e12f, "1000000000000.0"},
      {1e13f, "1e+13"}, {0.000001f, "0.000001"}, {1e-7f, "1e-7"}, {-1.5e-10f, "-1.5e-10"},
      {std::numeric_limits<float>::denorm_min(), "1e-45"}, {-kNaN, "null"}, {-kInf, "null"}};
  // clang-format on
  for (const auto& [value, text] : cases) EXPECT_EQ(json_float(value), text) << value;
}

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
