#pragma once
// JSON text of a 32-bit float: the shortest digits that read back as the same float, plain
// notation for decimal exponents -6..12 ("100.0", "0.001", "-0.0"), scientific otherwise
// ("1e-7", "1.5e+20"); NaN and infinities as null. Never fails.

#include <string>

namespace vorlin_core {

void append_json_float(std::string& out, float value);

}  // namespace vorlin_core
