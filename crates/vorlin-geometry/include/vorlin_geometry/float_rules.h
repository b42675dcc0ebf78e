#pragma once
// Float rules shared by every layer: NaN-ignoring min/max and the shortest
// decimal text of a 32-bit float.

#include <cmath>
#include <string>

namespace vorlin_geometry {

// IEEE 754 minNum / maxNum: when exactly one operand is NaN the other wins,
// and -0 counts as smaller than +0 (std::fmin leaves that case open). Inline: every box union
// of every pass runs through them.
inline float min_num(float a, float b) {
  if (std::isnan(a)) return b;
  if (std::isnan(b)) return a;
  if (a == b) return std::signbit(a) ? a : b;
  return a < b ? a : b;
}

inline float max_num(float a, float b) {
  if (std::isnan(a)) return b;
  if (std::isnan(b)) return a;
  if (a == b) return std::signbit(a) ? b : a;
  return a > b ? a : b;
}

// Shortest plain decimal text that reads back as the same float; whole numbers
// carry no fractional part ("1", "0.1", "100000000000000000000").
std::string shortest_float_text(float value);

}  // namespace vorlin_geometry
