#include "vorlin_geometry/heading_cues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "vorlin_geometry/utf8.h"

namespace vorlin_geometry {
namespace {

constexpr std::size_t kLeaderDots = 4;  // ". . . ." or "...." and longer
// Characters of an emphasised heading line; a numbered one may run longer, a longer unnumbered
// one is the first line of an emphasised paragraph.
constexpr std::size_t kMaxEmphasisLength = 70;
constexpr std::size_t kMaxNumberedLength = 100;
constexpr std::size_t kMaxSectionParts = 5;
constexpr std::size_t kMaxPageDigits = 4;
constexpr float kCentreTolerance = 0.03f;  // of the page width, between two centres
constexpr float kMaxCentredWidth = 0.8f;   // a full-width line is justified, not centred
constexpr std::uint8_t kDeepestLevel = 6;
constexpr std::size_t kTitlePages = 3;  // the title is the largest heading of these
// Text under a bold line indented further than this many of its heights hangs from it as a term's
// description; a paragraph's first-line indent is smaller.
constexpr float kTermIndent = 1.6f;
// Numbered headings a document needs before its unnumbered small ones count as run-in divisions.
constexpr std::size_t kMinNumbered = 3;
constexpr float kSizeTolerance = 0.25f;  // points
// A line of prose: at the body size within this many points, with this many letters and digits
// (a sentence's worth; names, dates and form fields are shorter).
constexpr float kProseSizeTolerance = 0.5f;
constexpr std::size_t kProseLetters = 16;
// Heading lines a front-matter page needs, outnumbering its prose, to be a title page.
constexpr std::size_t kTitlePageHeadings = 3;
constexpr float kRightEdgeTolerance = 0.01f;  // of the page width

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

// A page number alone: arabic digits or lower-case roman numerals, as front matter numbers its
// pages.
bool is_page_number(std::u32string_view text) {
  const std::u32string_view t = trim_whitespace(text);
  return !t.empty() && t.size() <= kMaxPageDigits &&
         (std::ranges::all_of(t, is_digit) || std::ranges::all_of(t, [](char32_t ch) {
            return std::u32string_view(U"ivxlc").find(ch) != std::u32string_view::npos;
          }));
}

// A contents entry whose page number stands apart, flush with the page's right text edge on the
// entry's row: LaTeX sets chapter entries without leaders, so the number becomes a line of its own.
bool has_page_number_beside(std::span<const CueLine> lines, std::size_t i) {
  const CueLine& line = lines[i];
  std::size_t first = i, last = i + 1;
  while (first > 0 && lines[first - 1].page == line.page) --first;
  while (last < lines.size() && lines[last].page == line.page) ++last;
  float right = 0;
  for (std::size_t j = first; j < last; ++j) right = std::max(right, lines[j].box.x1);
  for (std::size_t j = first; j < last; ++j) {
    const BBox& box = lines[j].box;
    // Written so that a NaN box matches nothing.
    if (j != i && box.x0 > line.box.x1 && right - box.x1 <= kRightEdgeTolerance &&
        box.centre_y() > line.box.y0 && box.centre_y() < line.box.y1 &&
        is_page_number(lines[j].text)) {
      return true;
    }
  }
  return false;
}

bool ends_sentence(std::u32string_view text) {
  return !text.empty() && (text.back() == U'.' || text.back() == U',' || text.back() == U';');
}

// Centred under the title: pages often sit off-centre on the sheet, so the title, not the page,
// gives the axis.
bool is_centred_under(const BBox& box, const BBox& title) {
  return box.width() < kMaxCentredWidth &&
         std::abs(box.centre_x() - title.centre_x()) <= kCentreTolerance;
}

// The first line after `lines[i]` on its page that starts below its top and overlaps it across:
// the next line of its column, where the lines of side-by-side columns interleave by height.
// `lines.size()` when there is none.
std::size_t line_under(std::span<const CueLine> lines, std::size_t i) {
  const BBox& box = lines[i].box;
  for (std::size_t j = i + 1; j < lines.size() && lines[j].page == lines[i].page; ++j) {
    const BBox& next = lines[j].box;
    if (next.y1 < box.y1 && next.x0 < box.x1 && box.x0 < next.x1) return j;
  }
  return lines.size();
}

// `lines[i]` as a heading set apart by its face. An unnumbered one must also stand over text of
// the body's face in its column that is not indented under it, and not end in a colon: a row of
// bold lines is a list of links or terms, and "See also:" introduces one.
bool is_emphasis_heading(std::span<const CueLine> lines, std::size_t i) {
  const CueLine& line = lines[i];
  if (line.monospace || line.role.is_heading) return false;
  const std::u32string_view text = trim_whitespace(line.text);
  // "2." alone opens list items as often as sections; it needs the space above as well.
  const std::size_t depth = section_depth(text);
  const bool numbered = depth > 1 || (depth == 1 && text.find(U'.') > text.find(U' '));
  if (text.empty() || ends_sentence(text) || !std::ranges::any_of(text, is_alphabetic)) {
    return false;
  }
  if (text.size() > (numbered ? kMaxNumberedLength : kMaxEmphasisLength)) return false;
  if (numbered) return line.emphasised || line.distinct_face;
  const std::size_t next = line_under(lines, i);
  const bool before_text =
      next < lines.size() && !lines[next].emphasised && !lines[next].role.is_heading;
  // Written so that a NaN indent leaves the line a heading.
  const bool term = line.indent_below > kTermIndent;
  return line.emphasised && line.opens_block && before_text && !term && text.back() != U':';
}

// A first section's number ("1 Introduction", "0 Preface", "1.1 Aims"); a date or an address
// under the title ("24 de novembro de 2018") starts with a larger one.
bool opens_numbering(std::u32string_view text) {
  if (section_depth(text) == 0) return false;
  const std::u32string_view first = text.substr(0, text.find_first_not_of(U"0123456789"));
  return first == U"0" || first == U"1";
}

// The largest heading of the first pages is the title; the unnumbered centred heading lines after
// it on its page, up to the first line that is neither, name the authors and the like.
void demote_title_block(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  std::size_t title = lines.size();
  for (std::size_t i = 0; i < lines.size() && lines[i].page < kTitlePages; ++i) {
    if (!roles[i].is_heading) continue;
    if (title == lines.size() || lines[i].font_size > lines[title].font_size) title = i;
  }
  if (title == lines.size()) return;
  // The lines below the title on its page, top down: columns and full-width lines may come in
  // any order on the page.
  std::vector<std::size_t> below;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].page == lines[title].page && lines[i].box.y1 <= lines[title].box.y0) {
      below.push_back(i);
    }
  }
  std::ranges::stable_sort(below, [&](std::size_t a, std::size_t b) {
    return float_greater_nan_last(lines[a].box.y1, lines[b].box.y1);
  });
  for (std::size_t i : below) {
    const std::u32string_view text = trim_whitespace(lines[i].text);
    if (!std::ranges::any_of(text, is_alphabetic)) continue;  // a raised footnote mark
    if (!is_centred_under(lines[i].box, lines[title].box) || opens_numbering(text)) break;
    if (roles[i].is_heading && lines[i].font_size < lines[title].font_size) {
      roles[i] = LineRole::body();
    }
  }
}

// A heading's letters and digits in lower case, without a trailing page number or leaders, and
// without its leading number (arabic, roman or a letter) when `numbered` is false: what a table of
// contents entry and the heading itself share.
std::u32string echo_key(std::u32string_view text, bool numbered) {
  std::u32string_view t = trim_whitespace(text);
  while (!t.empty() && (is_digit(t.back()) || t.back() == U'.' || is_whitespace(t.back()))) {
    t.remove_suffix(1);
  }
  const std::size_t space = t.find(U' ');
  if (!numbered && space != std::u32string_view::npos) {
    const std::u32string_view first = t.substr(0, space);
    const bool numbering = std::ranges::all_of(first, [](char32_t ch) {
      return is_digit(ch) || ch == U'.' ||
             std::u32string_view(U"IVXLC").find(ch) != std::u32string_view::npos;
    });
    if (numbering || (first.size() == 1 && first[0] >= U'A' && first[0] <= U'Z')) {
      t.remove_prefix(space + 1);
    }
  }
  std::u32string key;
  for (char32_t ch : t) {
    if (is_alphanumeric(ch)) key.push_back(ch >= U'A' && ch <= U'Z' ? ch + 32 : ch);
  }
  return key;
}

// A heading that comes back as a heading on a later page is that heading's entry in a table of
// contents: the same number and words, or the same words when the entry ends in a page number.
void demote_echoes(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  std::map<std::u32string, std::size_t> numbered, bare;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!roles[i].is_heading) continue;
    numbered[echo_key(lines[i].text, true)] = i;
    bare[echo_key(lines[i].text, false)] = i;
  }
  const auto later = [&](const std::map<std::u32string, std::size_t>& keys,
                         const std::u32string& key, std::size_t i) {
    const auto found = keys.find(key);
    return !key.empty() && found != keys.end() && lines[found->second].page > lines[i].page;
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!roles[i].is_heading) continue;
    const std::u32string_view text = trim_whitespace(lines[i].text);
    if (later(numbered, echo_key(text, true), i) ||
        (ends_with_page_number(text) && later(bare, echo_key(text, false), i))) {
      roles[i] = LineRole::body();
    }
  }
}

bool is_roman_or_number(std::u32string_view word) {
  return !word.empty() && (std::ranges::all_of(word, is_digit) ||
                           std::ranges::all_of(word, [](char32_t ch) {
                             return std::u32string_view(U"IVXLC").find(ch) !=
                                    std::u32string_view::npos;
                           }) ||
                           (word.size() == 1 && word[0] >= U'A' && word[0] <= U'Z'));
}

// One word and a number: "Chapter 4", "Part II", "Capitolo 2".
bool is_label(std::u32string_view line) {
  const std::u32string_view text = trim_whitespace(line);
  const std::size_t space = text.find(U' ');
  if (space == std::u32string_view::npos) return false;
  const std::u32string_view word = text.substr(0, space);
  const std::u32string_view number = trim_whitespace(text.substr(space + 1));
  return std::ranges::all_of(word, is_alphabetic) &&
         number.find(U' ') == std::u32string_view::npos && is_roman_or_number(number);
}

// A label heading over another heading on its page labels that heading; the heading under it
// carries the title.
void demote_labels(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (roles[i].is_heading && roles[i + 1].is_heading && lines[i + 1].page == lines[i].page &&
        is_label(lines[i].text)) {
      roles[i] = LineRole::body();
    }
  }
}

// A page that holds nothing but a label and the heading under it divides the document into parts:
// its heading ranks above every other, which all move one level down.
void raise_part_pages(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  std::vector<bool> part(lines.size(), false);
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const bool alone = (i == 0 || lines[i - 1].page != lines[i].page) &&
                       lines[i + 1].page == lines[i].page &&
                       (i + 2 == lines.size() || lines[i + 2].page != lines[i].page);
    part[i + 1] = alone && roles[i + 1].is_heading && is_label(lines[i].text);
  }
  if (std::ranges::none_of(part, [](bool p) { return p; })) return;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!roles[i].is_heading) continue;
    roles[i] = LineRole::heading(
        part[i] ? 1 : static_cast<std::uint8_t>(std::min<int>(roles[i].level + 1, kDeepestLevel)));
  }
}

// Whether `lines[i]` sits right under a heading line of its size on its page (within a line's
// height, overlapping it across): the second line of a wrapped heading. Columns interleave their
// lines, so the one above may be several lines back.
bool continues_heading(std::span<const CueLine> lines, std::span<const LineRole> roles,
                       std::size_t i) {
  const CueLine& line = lines[i];
  for (std::size_t j = i; j-- > 0 && lines[j].page == line.page;) {
    const CueLine& above = lines[j];
    const float gap = above.box.y0 - line.box.y1;
    if (roles[j].is_heading && std::fabs(above.font_size - line.font_size) <= kSizeTolerance &&
        above.box.x0 < line.box.x1 && line.box.x0 < above.box.x1 && gap >= 0 &&
        gap <= line.box.height()) {
      return true;
    }
  }
  return false;
}

// In a document that numbers its headings at several sizes, an unnumbered heading no larger than
// the smallest numbered one is a run-in division (LaTeX's \paragraph, a starred subsubsection),
// below what the document lists as its sections. A line right under a heading of its size goes on
// with that heading.
void demote_minor_unnumbered(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  std::size_t numbered = 0;
  float smallest = std::numeric_limits<float>::infinity();
  float largest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!roles[i].is_heading || section_depth(lines[i].text) == 0) continue;
    ++numbered;
    smallest = std::min(smallest, lines[i].font_size);
    largest = std::max(largest, lines[i].font_size);
  }
  if (numbered < kMinNumbered || !(largest - smallest > kSizeTolerance)) return;
  const std::vector<LineRole> before = roles;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Written so that a NaN size keeps the heading.
    if (roles[i].is_heading && section_depth(lines[i].text) == 0 &&
        lines[i].font_size <= smallest + kSizeTolerance && !continues_heading(lines, before, i)) {
      roles[i] = LineRole::body();
    }
  }
}

// The commonest type size of the lines that are not headings.
float body_size(std::span<const CueLine> lines, std::span<const LineRole> roles) {
  std::map<float, std::size_t> counts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!roles[i].is_heading && std::isfinite(lines[i].font_size)) {
      ++counts[std::round(2.0f * lines[i].font_size) / 2.0f];
    }
  }
  const auto commonest = std::ranges::max_element(
      counts, [](const auto& a, const auto& b) { return a.second < b.second; });
  return commonest == counts.end() ? 0.0f : commonest->first;
}

// A line of prose: not a heading, at the body size, a sentence long.
bool is_prose(const CueLine& line, const LineRole& role, float body) {
  return !role.is_heading && std::fabs(line.font_size - body) <= kProseSizeTolerance &&
         static_cast<std::size_t>(std::ranges::count_if(line.text, is_alphanumeric)) >=
             kProseLetters;
}

// Covers and title pages: their lines in large type are the title, names, dates and
// institutions, not headings; only each page's largest heading (the title) stays one. They are
// the pages before the first line of prose, and, in the front matter (before the first numbered
// heading or contents entry), the pages with more heading lines than lines of prose.
void demote_cover_pages(std::span<const CueLine> lines, std::vector<LineRole>& roles) {
  const float body = body_size(lines, roles);
  std::size_t first_prose = std::numeric_limits<std::size_t>::max();  // page
  std::size_t front_end = first_prose;                                // page
  std::map<std::size_t, std::pair<std::size_t, std::size_t>> counts;  // headings, prose a page
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t page = lines[i].page;
    const bool prose = is_prose(lines[i], roles[i], body);
    if (prose) first_prose = std::min(first_prose, page);
    if ((roles[i].is_heading && section_depth(lines[i].text) > 0) ||
        is_contents_entry(lines[i].text)) {
      front_end = std::min(front_end, page);
    }
    // By the size rule too: a title demoted as an echo of a later title page still counts, and
    // still outranks the cover's names and dates.
    if (roles[i].is_heading || lines[i].role.is_heading) ++counts[page].first;
    if (prose) ++counts[page].second;
  }
  const auto cover = [&](std::size_t page) {
    const auto [headings, prose] = counts[page];
    return page < first_prose ||
           (page < front_end && headings >= kTitlePageHeadings && headings > prose);
  };
  std::map<std::size_t, float> largest;  // heading size a page
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (roles[i].is_heading || lines[i].role.is_heading) {
      largest[lines[i].page] = std::max(largest[lines[i].page], lines[i].font_size);
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (roles[i].is_heading && cover(lines[i].page) &&
        lines[i].font_size < largest[lines[i].page] - kSizeTolerance) {
      roles[i] = LineRole::body();
    }
  }
}

}  // namespace

bool is_contents_entry(std::u32string_view text) {
  const std::u32string_view trimmed = trim_whitespace(text);
  if (has_dot_leaders(trimmed)) return true;
  if (!ends_with_page_number(trimmed)) return false;
  // A part's roman number counts as a section number here: "IV Data types 102".
  const std::size_t space = trimmed.find(U' ');
  const bool roman = space != std::u32string_view::npos && space > 0 &&
                     std::ranges::all_of(trimmed.substr(0, space), [](char32_t ch) {
                       return std::u32string_view(U"IVXLC").find(ch) != std::u32string_view::npos;
                     });
  return roman || section_depth(trimmed) > 0;
}

std::size_t section_depth(std::u32string_view text) {
  std::size_t parts = 0;
  return section_prefix(trim_whitespace(text), parts) > 0 ? parts : 0;
}

std::vector<LineRole> revise_headings(std::span<const CueLine> lines) {
  std::vector<LineRole> roles;
  roles.reserve(lines.size());
  std::uint8_t deepest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const CueLine& line = lines[i];
    LineRole role = line.role;
    if (role.is_heading &&
        (line.monospace || is_contents_entry(line.text) || has_page_number_beside(lines, i))) {
      role = LineRole::body();
    }
    if (role.is_heading) deepest = std::max(deepest, role.level);
    roles.push_back(role);
  }
  // Numbered emphasis headings nest by their numbers' depth below the first level they take.
  std::vector<std::size_t> emphasis;
  std::size_t shallowest = kMaxSectionParts;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!is_emphasis_heading(lines, i) || is_contents_entry(lines[i].text) ||
        has_page_number_beside(lines, i)) {
      continue;
    }
    emphasis.push_back(i);
    if (const std::size_t depth = section_depth(lines[i].text)) {
      shallowest = std::min(shallowest, depth);
    }
  }
  for (std::size_t i : emphasis) {
    const std::size_t depth = section_depth(lines[i].text);
    const std::size_t deeper = depth > shallowest ? depth - shallowest : 0;
    roles[i] = LineRole::heading(
        static_cast<std::uint8_t>(std::min<std::size_t>(deepest + 1 + deeper, kDeepestLevel)));
  }
  demote_echoes(lines, roles);
  demote_title_block(lines, roles);
  demote_labels(lines, roles);
  demote_minor_unnumbered(lines, roles);
  demote_cover_pages(lines, roles);
  raise_part_pages(lines, roles);
  return roles;
}

}  // namespace vorlin_geometry
