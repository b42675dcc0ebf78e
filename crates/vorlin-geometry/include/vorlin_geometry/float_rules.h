#pragma once
// Float rules shared by every layer: NaN-ignoring min/max and the shortest
// decimal text of a 32-bit float.

#include <string>

namespace vorlin_geometry {

// IEEE 754 minNum / maxNum: when exactly one operand is NaN the other wins,
// and -0 counts as smaller than +0 (std::fmin leaves that case open).
float min_num(float a, float b);
float max_num(float a, float b);

// Shortest plain decimal text that reads back as the same float; whole numbers
// carry no fractional part ("1", "0.1", "100000000000000000000").
std::string shortest_float_text(float value);

}  // namespace vorlin_geometry
