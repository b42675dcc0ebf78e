#include "vorlin_geometry/headings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {

namespace {

constexpr float kHeadingRatio = 1.1f;
constexpr float kMergeDistance = 1.0f;
constexpr float kLevelTolerance = 0.51f;
constexpr float kBottomMargin = 0.05f;
constexpr float kTopMargin = 0.92f;
constexpr std::size_t kDeepestLevel = 6;
constexpr std::size_t kMinAlphanumerics = 3;

std::int32_t bucket_key(float size) {
  const float rounded = std::round(2.0f * size);  // halves away from zero
  // Saturate: a huge size must not overflow the conversion.
  if (rounded >= 2147483648.0f) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

// The mean of the fullest bucket; ties go to the larger bucket.
float body_size(std::span<const SizeBucket> histogram) {
  const SizeBucket* best = &histogram.front();
  for (const SizeBucket& bucket : histogram) {
    if (bucket.count >= best->count) best = &bucket;
  }
  return best->mean;
}

// Heading sizes from the largest down, neighbours closer than 1.0 merged into their midpoint.
std::vector<float> level_sizes(std::span<const SizeBucket> histogram, float threshold) {
  std::vector<float> sizes;
  for (const SizeBucket& bucket : histogram) {
    if (bucket.mean >= threshold) sizes.push_back(bucket.mean);
  }
  std::stable_sort(sizes.begin(), sizes.end(),
                   [](float a, float b) { return float_greater_nan_last(a, b); });
  std::vector<float> levels;
  for (float size : sizes) {
    if (!levels.empty() && std::fabs(levels.back() - size) < kMergeDistance) {
      levels.back() = (levels.back() + size) * 0.5f;
    } else {
      levels.push_back(size);
    }
  }
  return levels;
}

std::uint8_t level_of(float size, std::span<const float> levels) {
  for (std::size_t i = 0; i < levels.size(); ++i) {
    if (std::fabs(levels[i] - size) < kLevelTolerance) {
      return static_cast<std::uint8_t>(std::min(i + 1, kDeepestLevel));
    }
  }
  return kDeepestLevel;
}

// Written as exclusions so that a NaN position keeps the line in the running.
bool is_excluded(float size, float threshold, const BBox& box, const BBox& page) {
  if (size < threshold) return true;
  const float height = page.y1 - page.y0;
  if (!(height > 0.0f)) return false;
  const float position = relative_height(box.y0, page);
  return position < kBottomMargin || position > kTopMargin;
}

}  // namespace

std::vector<SizeBucket> size_histogram(std::span<const float> sizes) {
  std::map<std::int32_t, SizeBucket> buckets;
  for (float size : sizes) {
    if (!(size > 0.0f && size < std::numeric_limits<float>::infinity())) continue;
    SizeBucket& bucket = buckets[bucket_key(size)];
    bucket.mean = bucket.mean + (size - bucket.mean) / (static_cast<float>(bucket.count) + 1.0f);
    ++bucket.count;
  }
  std::vector<SizeBucket> list;
  list.reserve(buckets.size());
  for (const auto& [key, bucket] : buckets) list.push_back(bucket);
  return list;
}

bool is_heading_text(std::u32string_view text) {
  const std::u32string_view trimmed = trim_whitespace(text);
  if (trimmed.empty()) return false;
  if (static_cast<std::size_t>(std::ranges::count_if(trimmed, is_alphanumeric)) <
      kMinAlphanumerics) {
    return false;
  }
  return std::ranges::any_of(trimmed, is_alphabetic);
}

bool is_ideographic_word(std::u32string_view text) {
  const std::u32string_view trimmed = trim_whitespace(text);
  std::size_t ideographs = 0;
  for (char32_t ch : trimmed) {
    if (is_ideograph(ch)) {
      ++ideographs;
    } else if (!is_whitespace(ch)) {
      return false;
    }
  }
  return ideographs >= 2;
}

std::vector<LineRole> detect_headings(std::span<const HeadingLine> lines, const BBox& page,
                                      bool in_margins) {
  const std::size_t n = lines.size();
  std::vector<LineRole> roles(n, LineRole::body());
  if (n == 0) return roles;

  std::vector<float> cleaned;
  cleaned.reserve(n);
  for (const HeadingLine& line : lines) {
    cleaned.push_back(is_valid_size(line.font_size) ? line.font_size : 0.0f);
  }
  const std::vector<SizeBucket> histogram = size_histogram(cleaned);
  if (histogram.empty()) return roles;
  const float body = body_size(histogram);
  if (body <= 0.0f) return roles;
  const float threshold = body * kHeadingRatio;
  const std::vector<float> levels = level_sizes(histogram, threshold);

  for (std::size_t i = 0; i < n; ++i) {
    if (!lines[i].heading_text) continue;
    if (cleaned[i] < threshold) continue;
    if (!in_margins && is_excluded(cleaned[i], threshold, lines[i].box, page)) continue;
    roles[i] = LineRole::heading(level_of(cleaned[i], levels));
  }
  return roles;
}

void close_level_gaps(std::span<LineRole> roles) {
  std::array<bool, 256> used{};
  for (const LineRole& role : roles) used[role.level] |= role.is_heading;
  const auto shallowest = std::ranges::find(used, true);
  if (shallowest == used.end()) return;
  std::array<std::uint8_t, 256> renumbered{};
  std::uint8_t next = static_cast<std::uint8_t>(shallowest - used.begin());
  for (auto level = shallowest; level != used.end(); ++level) {
    if (*level) renumbered[static_cast<std::size_t>(level - used.begin())] = next++;
  }
  for (LineRole& role : roles) {
    if (role.is_heading) role.level = renumbered[role.level];
  }
}

}  // namespace vorlin_geometry
