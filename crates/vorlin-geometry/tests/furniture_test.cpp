#include "vorlin_geometry/furniture.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

using Role = FurnitureRole;

TEST(is_page_number_text, accepts_the_usual_forms) {
  const std::vector<std::pair<const char*, bool>> cases = {
      {"3", true},       {"  42 ", true},       {"- 3 -", true},       {"\u2013 12 \u2013", true},
      {"-7", true},      {"Page 3", true},      {"Page 3 of 9", true}, {"page 3 / 9", true},
      {"PAGE 10", true}, {"3 / 9", true},       {"3 of 9", true},      {"iii", true},
      {"XIV", true},     {"xlix", true},        {"12345", false},      {"-", false},
      {"Page", false},   {"Page three", false}, {"3.2", false},        {"2026 Report", false},
      {"iiii", false},   {"mix", false},        {"CD", false},         {"IVX", false},
      {"Xiv", false},    {"", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(is_page_number_text(text), expected) << text;
}

TEST(furniture_key, masks_digit_runs_and_collapses_space) {
  EXPECT_EQ(furniture_key("  Journal  of Things, Vol. 12   "), "Journal of Things, Vol. #");
  EXPECT_EQ(furniture_key("Page 9"), furniture_key("Page 10"));
}

TEST(band_of, takes_the_outer_tenths_of_the_page) {
  const BBox page{0, 0, 600, 1000};
  EXPECT_EQ(band_of({0, 900, 100, 910}, page), Band::Top);
  EXPECT_EQ(band_of({0, 899, 100, 910}, page), Band::None);
  EXPECT_EQ(band_of({0, 90, 100, 100}, page), Band::Bottom);
  EXPECT_EQ(band_of({0, 90, 100, 101}, page), Band::None);
  EXPECT_EQ(band_of({0, 0, 0, 0}, BBox{0, 0, 600, 0}), Band::None);
}

std::vector<std::vector<BandLine>> document(std::size_t pages) {
  std::vector<std::vector<BandLine>> doc(pages);
  for (std::size_t p = 0; p < pages; ++p) {
    const std::string number = std::to_string(p + 1);
    doc[p] = {{Band::Top, "Technical Report 2026"},
              {Band::None, "Body text that happens to repeat"},
              {Band::Bottom, "Draft " + number + " of the series"},
              {Band::Bottom, number}};
  }
  return doc;
}

TEST(classify_furniture, running_header_footer_and_page_numbers_on_every_page) {
  const auto roles = classify_furniture(document(5));
  for (const auto& page : roles) {
    EXPECT_EQ(page,
              (std::vector<Role>{Role::Header, Role::Content, Role::Footer, Role::PageNumber}));
  }
}

TEST(classify_furniture, recurrence_needs_half_the_pages_and_three) {
  struct Case {
    const char* name;
    std::size_t pages;
    std::size_t with_header;
    Role role;
  };
  const std::vector<Case> cases = {
      {"on exactly half of six pages", 6, 3, Role::Header},
      {"on two of six pages", 6, 2, Role::Content},
      {"on both of two pages", 2, 2, Role::Content},
      {"on three of seven pages", 7, 3, Role::Content},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<BandLine>> doc(c.pages);
    for (std::size_t p = 0; p < c.with_header; ++p) doc[p] = {{Band::Top, "Running title"}};
    EXPECT_EQ(classify_furniture(doc)[0][0], c.role) << c.name;
  }
}

TEST(classify_furniture, a_header_text_at_the_other_band_does_not_count) {
  std::vector<std::vector<BandLine>> doc(4);
  for (std::size_t p = 0; p < 4; ++p) {
    doc[p] = {{p < 2 ? Band::Top : Band::Bottom, "Running title"}};
  }
  EXPECT_EQ(classify_furniture(doc)[0][0], Role::Content);
}

}  // namespace
}  // namespace vorlin_geometry
