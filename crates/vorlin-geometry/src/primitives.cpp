#include "vorlin_geometry/primitives.h"

#include <stdexcept>

#include "vorlin_geometry/unicode.h"

namespace vorlin_geometry {

void detail::throw_position_out_of_range(std::size_t position, std::size_t size) {
  throw std::out_of_range("character position " + std::to_string(position) +
                          " outside a page of " + std::to_string(size) + " characters");
}

float relative_height(float y, const BBox& page) { return (y - page.y0) / (page.y1 - page.y0); }

namespace {

// A natural merge sort: text mostly arrives in reading order, so the input is a few sorted runs
// (a line's characters, broken where a superscript or another font steps off the baseline), and
// merging neighbouring runs, first range first on ties, keeps it stable in n log(runs).
template <class Before>
void sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed, Before before) {
  std::vector<std::size_t> bounds{0};
  for (std::size_t i = 1; i < keyed.size(); ++i) {
    if (before(keyed[i], keyed[i - 1])) bounds.push_back(i);
  }
  bounds.push_back(keyed.size());
  if (bounds.size() <= 2) return;
  std::vector<std::pair<float, std::size_t>> merged(keyed.size());
  const auto at = [](auto& items, std::size_t i) {
    return items.begin() + static_cast<std::ptrdiff_t>(i);
  };
  while (bounds.size() > 2) {
    std::vector<std::size_t> next{0};
    for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
      const std::size_t end = r + 2 < bounds.size() ? bounds[r + 2] : bounds[r + 1];
      std::merge(at(keyed, bounds[r]), at(keyed, bounds[r + 1]), at(keyed, bounds[r + 1]),
                 at(keyed, end), at(merged, bounds[r]), before);
      next.push_back(end);
    }
    keyed.swap(merged);
    bounds = std::move(next);
  }
}

}  // namespace

void detail::stable_sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed,
                               SortOrder order) {
  // Two spelled-out comparators rather than a function pointer, so the key test inlines.
  if (order == SortOrder::Ascending) {
    sort_keyed(keyed,
               [](const auto& a, const auto& b) { return float_less_nan_last(a.first, b.first); });
  } else {
    sort_keyed(keyed, [](const auto& a, const auto& b) {
      return float_greater_nan_last(a.first, b.first);
    });
  }
}

std::optional<float> upper_median(std::span<const float> values) {
  if (values.empty()) return std::nullopt;
  std::vector<float> sorted(values.begin(), values.end());
  const auto middle = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  // Selection yields the element a full sort would put there, up to the sign of a zero, and
  // callers pass valid sizes only.
  // A lambda, not the function's address, so the comparison inlines.
  std::nth_element(sorted.begin(), middle, sorted.end(),
                   [](float a, float b) { return float_less_nan_last(a, b); });
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
