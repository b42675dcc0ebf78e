#include "vorlin_core/backend/font_look.h"

#include <array>
#include <string>

#include "vorlin_core/backend/pdfium_api.h"

namespace vorlin_core {
namespace {

// A subset font's name starts with six capitals and a plus.
std::string_view without_subset_tag(std::string_view name) {
  if (name.size() < 7 || name[6] != '+') return name;
  for (std::size_t i = 0; i < 6; ++i) {
    if (name[i] < 'A' || name[i] > 'Z') return name;
  }
  return name.substr(7);
}

std::string lowered(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool has_any(std::string_view name, std::initializer_list<std::string_view> words) {
  for (std::string_view word : words) {
    if (name.find(word) != std::string_view::npos) return true;
  }
  return false;
}

bool starts_with_any(std::string_view name, std::initializer_list<std::string_view> prefixes) {
  for (std::string_view prefix : prefixes) {
    if (name.starts_with(prefix)) return true;
  }
  return false;
}

// FNV-1a; 0 is kept for "unknown".
std::uint32_t name_id(std::string_view name) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  return hash == 0 ? 1 : hash;
}

}  // namespace

FontLook font_look(std::string_view base_name, int flags, int italic_angle) {
  const std::string_view name = without_subset_tag(base_name);
  const std::string low = lowered(name);
  FontLook look;
  look.id = name_id(name);
  // "Medi" is URW's medium, the bold of its Times and Palatino clones; the TeX
  // codes name bold extended faces "bx" (Computer Modern, EC, cm-super) and
  // Libertine's bold "TB".
  look.bold = (flags & pdfium::kFontForceBold) != 0 ||
              has_any(low, {"bold", "black", "heavy", "demi", "medi", "-bd", "semibd"}) ||
              starts_with_any(low, {"cmbx", "cmssbx", "cmb1", "sfbx", "sfsx", "ecbx", "ecsx",
                                    "linlibertinetb", "linbiolinumtb"});
  look.italic = (flags & pdfium::kFontItalic) != 0 || italic_angle != 0 ||
                has_any(low, {"italic", "oblique", "-it", "ital", "slant"}) ||
                starts_with_any(low, {"cmti", "cmsl", "cmitt", "sfti", "sfsl", "ecti", "ecsl",
                                      "linlibertineti", "linlibertinetbi"});
  look.monospace = (flags & pdfium::kFontFixedPitch) != 0 ||
                   has_any(low, {"mono", "courier", "consol", "typewriter", "code"}) ||
                   starts_with_any(low, {"cmtt", "cmsltt", "cmitt", "sftt", "ectt", "sfsltt"});
  look.small_caps = (flags & pdfium::kFontSmallCap) != 0 || has_any(low, {"smallcap", "caps"}) ||
                    starts_with_any(low, {"cmcsc", "sfcc", "eccc"});
  // Computer Modern's math italic, symbols and extensions, the AMS symbol and fraktur faces, the
  // txfonts / newtx / pxfonts math faces, and the OpenType math fonts ("Cambria Math").
  look.math = has_any(low, {"math"}) ||
              starts_with_any(low, {"cmmi", "cmsy", "cmex", "cmbsy", "msam", "msbm", "eufm",
                                    "eusm", "rsfs", "txmi", "txsy", "txex", "pxmi", "pxsy",
                                    "pxex", "ntxmi", "ntxsy", "ntxex", "lmmath"});
  return look;
}

}  // namespace vorlin_core
