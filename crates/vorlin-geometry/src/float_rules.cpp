#include "vorlin_geometry/float_rules.h"

#include <charconv>
#include <cmath>

namespace vorlin_geometry {

float min_num(float a, float b) {
  if (std::isnan(a)) return b;
  if (std::isnan(b)) return a;
  if (a == b) return std::signbit(a) ? a : b;
  return a < b ? a : b;
}

float max_num(float a, float b) {
  if (std::isnan(a)) return b;
  if (std::isnan(b)) return a;
  if (a == b) return std::signbit(a) ? b : a;
  return a > b ? a : b;
}

std::string shortest_float_text(float value) {
  // Fixed notation of FLT_MAX has 39 digits; the smallest subnormal needs 47 characters.
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc{}) return "?";
  return std::string(buffer, end);
}

}  // namespace vorlin_geometry
