#pragma once
// What a font's name and descriptor say about how its text looks. Descriptors are often silent
// (TeX writes the same flags for every face), so the name's conventions decide most cases: style
// words ("Bold", "Italic"), the TeX codes ("CMBX", "CMTI", "CMTT", "CMCSC") and their kin.

#include <cstdint>
#include <string_view>

namespace vorlin_core {

struct FontLook {
  std::uint32_t id = 0;  // equal for names equal once a subset tag ("ABCDEF+") is cut; never 0
  bool bold = false;
  bool italic = false;
  bool monospace = false;
  bool small_caps = false;
  bool math = false;  // a face that sets formulas: TeX's math italic, symbols and extensions
};

// `flags` are the font descriptor's flags (PDF 32000 table 121), `italic_angle` its ItalicAngle.
FontLook font_look(std::string_view base_name, int flags, int italic_angle);

}  // namespace vorlin_core
