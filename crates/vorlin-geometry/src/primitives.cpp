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

// Text mostly arrives in reading order, so many inputs are sorted already; and a page's characters
// come a line at a time, most of a line on one baseline, so runs of equal keys move as one.
template <class Before>
void sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed, Before before) {
  if (std::ranges::is_sorted(keyed, before)) return;
  std::vector<std::size_t> starts;
  std::vector<std::pair<float, std::size_t>> runs;  // a run's key and its index in `starts`
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    if (i == 0 || before(keyed[i - 1], keyed[i]) || before(keyed[i], keyed[i - 1])) {
      runs.emplace_back(keyed[i].first, starts.size());
      starts.push_back(i);
    }
  }
  if (runs.size() == keyed.size()) {
    std::ranges::stable_sort(keyed, before);
    return;
  }
  starts.push_back(keyed.size());
  std::ranges::stable_sort(runs, before);
  std::vector<std::pair<float, std::size_t>> sorted;
  sorted.reserve(keyed.size());
  for (const auto& run : runs) {
    sorted.insert(sorted.end(), keyed.begin() + static_cast<std::ptrdiff_t>(starts[run.second]),
                  keyed.begin() + static_cast<std::ptrdiff_t>(starts[run.second + 1]));
  }
  keyed = std::move(sorted);
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
