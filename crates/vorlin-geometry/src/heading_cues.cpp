#include "vorlin_geometry/heading_cues.h"

#include <algorithm>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

constexpr std::size_t kLeaderDots = 4;          // ". . . ." or "...." and longer
constexpr std::size_t kMaxEmphasisLength = 90;  // characters of a bold heading line
constexpr std::size_t kMaxSectionParts = 5;
constexpr std::size_t kMaxPageDigits = 4;
constexpr float kCentreTolerance = 0.04f;  // of the page width, between the two margins
constexpr float kMaxCentredWidth = 0.8f;   // a full-width line is justified, not centred
constexpr std::uint8_t kDeepestLevel = 6;

bool is_digit(char32_t ch) { return detail::is_ascii_digit(ch); }

bool has_dot_leaders(std::u32string_view text) {
  std::size_t dots = 0;
  for (char32_t ch : text) {
    if (ch == U'.' || ch == 0x2026) {
      if (++dots >= kLeaderDots) return true;
    } else if (ch != U' ') {
      dots = 0;
    }
  }
  return false;
}

// The length of the leading section number with the space after it, 0 without one; `parts`
// receives its part count.
std::size_t section_prefix(std::u32string_view text, std::size_t& parts) {
  std::size_t i = 0;
  parts = 0;
  // An appendix letter may open it when a dotted part follows: "A.1".
  if (text.size() > 2 && text[0] >= U'A' && text[0] <= U'Z' && text[1] == U'.' &&
      is_digit(text[2])) {
    i = 2;
    parts = 1;
  }
  while (parts < kMaxSectionParts) {
    const std::size_t start = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (i == start || i - start > 3) return 0;
    ++parts;
    if (i + 1 < text.size() && text[i] == U'.' && is_digit(text[i + 1])) {
      ++i;
      continue;
    }
    break;
  }
  if (i < text.size() && text[i] == U'.') ++i;  // "3. Title"
  if (i >= text.size() || !is_whitespace(text[i])) return 0;
  return i + 1;
}

bool ends_with_page_number(std::u32string_view text) {
  std::size_t digits = 0;
  while (digits < text.size() && is_digit(text[text.size() - 1 - digits])) ++digits;
  return digits > 0 && digits <= kMaxPageDigits && digits < text.size() &&
         is_whitespace(text[text.size() - 1 - digits]);
}

bool ends_sentence(std::u32string_view text) {
  return !text.empty() && (text.back() == U'.' || text.back() == U',' || text.back() == U';');
}

bool is_centred(const BBox& box) {
  const float left = box.x0;
  const float right = 1.0f - box.x1;
  return box.width() < kMaxCentredWidth && std::abs(left - right) <= kCentreTolerance;
}

bool is_emphasis_heading(const CueLine& line) {
  if (!line.emphasised || line.monospace || line.role.is_heading) return false;
  const std::u32string_view text = trim_whitespace(line.text);
  if (text.empty() || text.size() > kMaxEmphasisLength || ends_sentence(text)) return false;
  if (!std::ranges::any_of(text, is_alphabetic)) return false;
  return line.opens_block || section_depth(text) > 0;
}

// On the first page with a heading, the largest heading is the title; the unnumbered centred
// heading lines after it, up to the first line that is neither, name the authors and the like.
void demote_title_block(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  const auto first = std::ranges::find_if(roles, [](const LineRole& r) { return r.is_heading; });
  if (first == roles.end()) return;
  const std::size_t page = lines[static_cast<std::size_t>(first - roles.begin())].page;
  std::size_t title = lines.size();
  for (std::size_t i = 0; i < lines.size() && lines[i].page <= page; ++i) {
    if (lines[i].page != page || !roles[i].is_heading) continue;
    if (title == lines.size() || lines[i].font_size > lines[title].font_size) title = i;
  }
  for (std::size_t i = title + 1; i < lines.size() && lines[i].page == page; ++i) {
    const std::u32string_view text = trim_whitespace(lines[i].text);
    if (!is_centred(lines[i].box) || section_depth(text) > 0) break;
    if (roles[i].is_heading && lines[i].font_size < lines[title].font_size) {
      roles[i] = LineRole::body();
    }
  }
}

}  // namespace

bool is_contents_entry(std::u32string_view text) {
  const std::u32string_view trimmed = trim_whitespace(text);
  return has_dot_leaders(trimmed) || (section_depth(trimmed) > 0 && ends_with_page_number(trimmed));
}

std::size_t section_depth(std::u32string_view text) {
  std::size_t parts = 0;
  return section_prefix(trim_whitespace(text), parts) > 0 ? parts : 0;
}

std::vector<LineRole> revise_headings(std::span<const CueLine> lines) {
  std::vector<LineRole> roles;
  roles.reserve(lines.size());
  std::uint8_t deepest = 0;
  for (const CueLine& line : lines) {
    LineRole role = line.role;
    if (role.is_heading && (line.monospace || is_contents_entry(line.text)))
      role = LineRole::body();
    if (role.is_heading) deepest = std::max(deepest, role.level);
    roles.push_back(role);
  }
  const std::uint8_t emphasis_level = std::min<std::uint8_t>(deepest + 1, kDeepestLevel);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (is_emphasis_heading(lines[i]) && !is_contents_entry(lines[i].text)) {
      roles[i] = LineRole::heading(emphasis_level);
    }
  }
  demote_title_block(lines, roles);
  return roles;
}

}  // namespace vorlin_geometry
