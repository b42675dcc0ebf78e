#pragma once
// Unicode character properties, looked up in tables that the build generates from the build
// machine's ICU (tools/unicode_tables.cpp): the answers are ICU's, and no Unicode library is
// needed at run time. Any char32_t may be asked; values that are not code points have no
// properties (category Cn).

#include <cstdint>

namespace vorlin_geometry::unicode {

// General categories, numbered as ICU numbers them (the generator checks).
enum class Category : std::uint8_t {
  Cn, Lu, Ll, Lt, Lm, Lo, Mn, Me, Mc, Nd, Nl, No, Zs, Zl, Zp,
  Cc, Cf, Co, Cs, Pd, Ps, Pe, Pc, Po, Sm, Sc, Sk, So, Pi, Pf,
};

Category category(char32_t ch);
bool is_white_space(char32_t ch);
bool is_alphabetic(char32_t ch);
bool is_grapheme_extend(char32_t ch);

// The primary composite of `first` followed by the combining character `second` (NFC's pairwise
// composition), 0 when there is none. Hangul syllables, which compose by formula, are left out.
char32_t compose_pair(char32_t first, char32_t second);

}  // namespace vorlin_geometry::unicode
