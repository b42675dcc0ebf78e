#include "vorlin_geometry/furniture.h"

#include <gtest/gtest.h>

namespace vorlin_geometry {
namespace {

using Role = FurnitureRole;

TEST(is_page_number_text, accepts_the_usual_forms) {
  const std::vector<std::pair<std::u32string_view, bool>> cases = {
      {U"  42 ", true},       {U"\u2013 12 \u2013", true}, {U"-7", true},
      {U"Page 3 of 9", true}, {U"page 3 / 9", true},     {U"3 / 9", true},
      {U"XIV", true},         {U"xlix", true},           {U"12345", false},
      {U"-", false},          {U"Page", false},          {U"Page three", false},
      {U"3.2", false},        {U"2026 Report", false},   {U"iiii", false},
      {U"CCCC", false},       {U"IVX", false},           {U"Xiv", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(is_page_number_text(text), expected);
}

TEST(furniture_key, masks_digit_runs_and_collapses_space) {
  EXPECT_EQ(furniture_key(U"  Journal  of Things, Vol. 12   "), U"Journal of Things, Vol. #");
}

TEST(band_of, takes_the_outer_tenths_of_the_page) {
  const BBox page{0, 0, 600, 1000};
  EXPECT_EQ(band_of({0, 900, 100, 910}, page), Band::Top);
  EXPECT_EQ(band_of({0, 899, 100, 910}, page), Band::None);
  EXPECT_EQ(band_of({0, 90, 100, 100}, page), Band::Bottom);
  EXPECT_EQ(band_of({0, 90, 100, 101}, page), Band::None);
  EXPECT_EQ(band_of({0, 0, 0, 0}, BBox{0, 0, 600, 0}), Band::None);
}

TEST(classify_furniture, recurrence_needs_half_the_pages_and_three_in_one_band) {
  // One line a page: 'T' in the top band, 'B' in the bottom one, 'N' in neither, '.' no line. The
  // text carries the page's number, so it only recurs with its digits masked.
  const std::vector<std::tuple<const char*, std::string, Role>> cases = {
      {"on every page at the top", "TTTTT", Role::Header},
      {"on every page at the foot", "BBBBB", Role::Footer},
      {"on exactly half of six pages", "TTT...", Role::Header},
      {"on both of two pages", "TT", Role::Content},
      {"on three of seven pages", "TTT....", Role::Content},
      {"at the top of two and the foot of two of four pages", "TTBB", Role::Content},
      {"outside the bands", "NNNNN", Role::Content},
  };
  std::vector<std::u32string> texts;  // the lines only view their text
  for (char32_t p = U'1'; p <= U'7'; ++p) {
    texts.push_back(U"Draft " + std::u32string(1, p) + U" of it");
  }
  for (const auto& [name, bands, role] : cases) {
    std::vector<std::vector<BandLine>> doc(bands.size());
    for (std::size_t p = 0; p < bands.size(); ++p) {
      const Band band = bands[p] == 'T' ? Band::Top : bands[p] == 'B' ? Band::Bottom : Band::None;
      if (bands[p] != '.') doc[p] = {{band, texts[p]}};
    }
    for (const auto& page : classify_furniture(doc)) {
      EXPECT_EQ(page, std::vector<Role>(page.size(), role)) << name;
    }
  }
}

TEST(classify_furniture, the_same_text_in_the_same_place_needs_a_quarter_of_the_pages) {
  // On the backs of three of twelve pages, and once lower down.
  std::vector<std::vector<BandLine>> doc(12);
  for (std::size_t p : {1, 5, 9}) doc[p] = {{Band::Top, U"Master Thesis", 0.95f, 10}};
  doc[3] = {{Band::Top, U"Master Thesis", 0.91f, 10}};
  const auto roles = classify_furniture(doc);
  EXPECT_EQ(roles[9], std::vector<Role>{Role::Header});
  EXPECT_EQ(roles[3], std::vector<Role>{Role::Content});
  doc.emplace_back();  // three of thirteen is less than a quarter
  EXPECT_EQ(classify_furniture(doc)[9], std::vector<Role>{Role::Content});
  doc[0] = {{Band::Top, U"Master Thesis", 0.95f, 12.5f}};  // a fourth copy, larger: the title
  const auto titled = classify_furniture(doc);
  EXPECT_EQ(titled[9], std::vector<Role>{Role::Header});
  EXPECT_EQ(titled[0], std::vector<Role>{Role::Content});
}

TEST(classify_furniture, page_numbers_need_a_band_but_no_recurrence) {
  const std::vector<std::vector<BandLine>> doc = {
      {{Band::Bottom, U"- 3 -"}, {Band::Top, U"iv"}, {Band::None, U"7"}}};
  EXPECT_EQ(classify_furniture(doc)[0],
            (std::vector<Role>{Role::PageNumber, Role::PageNumber, Role::Content}));
}

}  // namespace
}  // namespace vorlin_geometry
