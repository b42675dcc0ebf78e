#include "vorlin_core/backend/font_look.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vorlin_core {
namespace {

// The look as letters: b(old), i(talic), m(onospace), s(mall caps).
std::string letters(const FontLook& look) {
  return std::string(look.bold ? "b" : "") + (look.italic ? "i" : "") +
         (look.monospace ? "m" : "") + (look.small_caps ? "s" : "");
}

TEST(font_look, reads_names_flags_and_angle_and_ids_ignore_the_subset_tag) {
  // Flag bits: 1 FixedPitch, 2 Serif, 4 Symbolic, 64 Italic, 262144 ForceBold.
  // clang-format off
  const std::tuple<const char*, int, int, const char*> cases[] = {
      {"CMR10", 4, 0, ""}, {"CMBX12", 4, 0, "b"}, {"SFBX1000", 4, 0, "b"}, {"CMSSBX10", 4, 0, "b"},
      {"ABCDEF+LMRoman10-Bold", 4, 0, "b"}, {"NimbusRomNo9L-Medi", 4, 0, "b"},
      {"LinLibertineTB", 4, 0, "b"}, {"LinLibertineT", 4, 0, ""},
      {"TimesNewRomanPSMT", 262150, 0, "b"}, {"CMTI10", 4, 0, "i"},
      {"LMRoman10-Regular", 68, -14, "i"}, {"Arial-BoldItalicMT", 0, 0, "bi"},
      {"CMTT10", 4, 0, "m"}, {"LMMono10-Regular", 4, 0, "m"}, {"Anything", 1, 0, "m"},
      {"CMCSC10", 4, 0, "s"}, {"LMRomanCaps10-Regular", 4, 0, "s"}, {"Helvetica", 0, 0, ""}};
  // clang-format on
  for (const auto& [name, flags, italic_angle, expected] : cases)
    EXPECT_EQ(letters(font_look(name, flags, italic_angle)), expected) << name;
  // The id ignores the subset tag only.
  EXPECT_EQ(font_look("ABCDEF+CMR10", 0, 0).id, font_look("CMR10", 0, 0).id);
  EXPECT_NE(font_look("CMR10", 0, 0).id, font_look("CMR9", 0, 0).id);
  EXPECT_NE(font_look("abcdef+CMR10", 0, 0).id, font_look("CMR10", 0, 0).id);
  EXPECT_NE(font_look("", 0, 0).id, 0u);
}

}  // namespace
}  // namespace vorlin_core
