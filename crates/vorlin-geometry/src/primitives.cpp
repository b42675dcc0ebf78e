#include "vorlin_geometry/primitives.h"

#include <stdexcept>

#include "vorlin_geometry/unicode.h"

namespace vorlin_geometry {

void detail::throw_position_out_of_range(std::size_t position, std::size_t size) {
  throw std::out_of_range("character position " + std::to_string(position) +
                          " outside a page of " + std::to_string(size) + " characters");
}

float relative_height(float y, const BBox& page) { return (y - page.y0) / (page.y1 - page.y0); }

bool is_valid_size(float value) { return std::isfinite(value) && value > 0.0f; }

std::optional<float> upper_median(std::span<const float> values) {
  if (values.empty()) return std::nullopt;
  std::vector<float> sorted(values.begin(), values.end());
  const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  // Selection yields the element a full sort would put there, up to the sign of a zero, and
  // callers pass valid sizes only.
  std::nth_element(sorted.begin(), middle, sorted.end(), float_less_nan_last);
  return *middle;
}

bool icu_is_whitespace(char32_t ch) { return unicode::is_white_space(ch); }

bool icu_is_alphabetic(char32_t ch) { return unicode::is_alphabetic(ch); }

bool icu_is_alphanumeric(char32_t ch) {
  if (icu_is_alphabetic(ch)) return true;
  using enum unicode::Category;
  const auto category = unicode::category(ch);
  return category == Nd || category == Nl || category == No;
}

}  // namespace vorlin_geometry
