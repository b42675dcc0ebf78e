#include "vorlin_geometry/primitives.h"

#include <unicode/uchar.h>

#include <stdexcept>

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

// ICU answers false for values that are not code points, so any char32_t is safe to ask about.
bool icu_is_whitespace(char32_t ch) {
  return u_hasBinaryProperty(static_cast<UChar32>(ch), UCHAR_WHITE_SPACE);
}

bool icu_is_alphabetic(char32_t ch) {
  return u_hasBinaryProperty(static_cast<UChar32>(ch), UCHAR_ALPHABETIC);
}

bool icu_is_alphanumeric(char32_t ch) {
  if (icu_is_alphabetic(ch)) return true;
  const auto category = u_charType(static_cast<UChar32>(ch));
  return category == U_DECIMAL_DIGIT_NUMBER || category == U_LETTER_NUMBER ||
         category == U_OTHER_NUMBER;
}

}  // namespace vorlin_geometry
