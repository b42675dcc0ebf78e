#include "vorlin_geometry/float_rules.h"

#include <charconv>

namespace vorlin_geometry {

std::string shortest_float_text(float value) {
  // Fixed notation of FLT_MAX has 39 digits; the smallest subnormal needs 47 characters.
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc{}) return "?";
  return std::string(buffer, end);
}

}  // namespace vorlin_geometry
