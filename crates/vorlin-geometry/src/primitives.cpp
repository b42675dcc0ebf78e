#include "vorlin_geometry/primitives.h"

#include <array>
#include <bit>
#include <stdexcept>

#include "vorlin_geometry/unicode.h"

namespace vorlin_geometry {

void detail::throw_position_out_of_range(std::size_t position, std::size_t size) {
  throw std::out_of_range("character position " + std::to_string(position) +
                          " outside a page of " + std::to_string(size) + " characters");
}

float relative_height(float y, const BBox& page) { return (y - page.y0) / (page.y1 - page.y0); }

namespace {

// Below this many keys a comparison sort costs less than the radix sort's four bucket passes.
constexpr std::size_t kRadixMinimum = 64;

// The key as an unsigned number in the sort's order, every NaN last and equal: positives get the
// sign bit, negatives all bits flipped (so larger magnitudes come first), then the whole flipped
// for descending order. -0 becomes +0, which the float order treats as equal.
std::uint32_t radix_key(float key, SortOrder order) {
  if (std::isnan(key)) return 0xFFFF'FFFFu;
  const auto bits = std::bit_cast<std::uint32_t>(key == 0.0f ? 0.0f : key);
  const std::uint32_t ascending = (bits & 0x8000'0000u) ? ~bits : bits | 0x8000'0000u;
  return order == SortOrder::Ascending ? ascending : ~ascending;
}

// Least significant byte first, each pass a stable counting sort; a byte that all keys share
// needs no pass. Linear where a comparison sort of a page's characters is n log n.
void radix_sort(std::vector<std::pair<float, std::size_t>>& keyed, SortOrder order) {
  const std::size_t n = keyed.size();
  std::vector<std::uint32_t> keys(n), spare_keys(n);
  std::vector<std::pair<float, std::size_t>> spare(n);
  for (std::size_t i = 0; i < n; ++i) keys[i] = radix_key(keyed[i].first, order);
  for (int shift = 0; shift < 32; shift += 8) {
    std::array<std::size_t, 256> start{};
    for (std::uint32_t key : keys) ++start[(key >> shift) & 0xFF];
    if (start[(keys[0] >> shift) & 0xFF] == n) continue;
    std::size_t sum = 0;
    for (std::size_t& at : start) sum += std::exchange(at, sum);
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t at = start[(keys[i] >> shift) & 0xFF]++;
      spare[at] = keyed[i];
      spare_keys[at] = keys[i];
    }
    keyed.swap(spare);
    keys.swap(spare_keys);
  }
}

// Text mostly arrives in reading order, so many inputs are sorted already.
template <class Before>
void sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed, SortOrder order, Before before) {
  if (std::ranges::is_sorted(keyed, before)) return;
  if (keyed.size() < kRadixMinimum) {
    std::ranges::stable_sort(keyed, before);
  } else {
    radix_sort(keyed, order);
  }
}

}  // namespace

void detail::stable_sort_keyed(std::vector<std::pair<float, std::size_t>>& keyed,
                               SortOrder order) {
  // Two spelled-out comparators rather than a function pointer, so the key test inlines.
  if (order == SortOrder::Ascending) {
    sort_keyed(keyed, order,
               [](const auto& a, const auto& b) { return float_less_nan_last(a.first, b.first); });
  } else {
    sort_keyed(keyed, order, [](const auto& a, const auto& b) {
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
