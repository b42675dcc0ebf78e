#include "vorlin_core/render/json_float.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace vorlin_core {
namespace {

constexpr int kPlainMinExponent = -6;
constexpr int kPlainMaxExponent = 12;

// The shortest round-trip digits and the decimal exponent of the first one, taken from the
// scientific form so that the notation can be chosen here rather than by to_chars.
struct Decimal {
  char digits[16];  // a float never needs more than 9 significant digits
  int count = 0;
  int exponent = 0;
};

Decimal shortest_decimal(float magnitude) {
  char text[32];
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
  if (ec != std::errc{}) throw std::logic_error("to_chars failed on a finite float");
  Decimal decimal;
  const char* p = text;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.') decimal.digits[decimal.count++] = *p;
  }
  // "e+XX" / "e-XX"; from_chars does not take a leading '+'.
  const bool negative = p + 1 < end && p[1] == '-';
  int magnitude_exponent = 0;
  std::from_chars(p + 2, end, magnitude_exponent);
  decimal.exponent = negative ? -magnitude_exponent : magnitude_exponent;
  return decimal;
}

void append_plain(std::string& out, const Decimal& d) {
  if (d.exponent < 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out.append(d.digits, static_cast<std::size_t>(d.count));
    return;
  }
  const int whole = d.exponent + 1;
  if (d.count <= whole) {
    out.append(d.digits, static_cast<std::size_t>(d.count));
    out.append(static_cast<std::size_t>(whole - d.count), '0');
    out.append(".0");
    return;
  }
  out.append(d.digits, static_cast<std::size_t>(whole));
  out.push_back('.');
  out.append(d.digits + whole, static_cast<std::size_t>(d.count - whole));
}

void append_scientific(std::string& out, const Decimal& d) {
  out.push_back(d.digits[0]);
  if (d.count > 1) {
    out.push_back('.');
    out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
  }
  out.push_back('e');
  out.push_back(d.exponent < 0 ? '-' : '+');
  char text[8];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, std::abs(d.exponent));
  out.append(text, end);
}

}  // namespace

void append_json_float(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out.append("null");
    return;
  }
  if (std::signbit(value)) out.push_back('-');
  if (value == 0) {
    out.append("0.0");
    return;
  }
  const Decimal decimal = shortest_decimal(std::fabs(value));
  if (decimal.exponent >= kPlainMinExponent && decimal.exponent <= kPlainMaxExponent) {
    append_plain(out, decimal);
  } else {
    append_scientific(out, decimal);
  }
}

}  // namespace vorlin_core
