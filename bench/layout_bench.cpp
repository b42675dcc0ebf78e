// The enhanced layout against the plain page passes on the same synthetic pages: a two-column
// report page (full-width title, headings, aligned baselines, a figure, running header, page
// number) and a one-column page. Both sides start from the backend's characters and end with the
// pages' nodes and reading orders.

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>
#include <vector>

#include "vorlin_core/pipeline/analyse_page.h"
#include "vorlin_core/pipeline/layout.h"

namespace {

using vorlin_core::PdfChar;

constexpr float kPageWidth = 595;
constexpr float kPageHeight = 842;
constexpr std::size_t kPages = 10;

constexpr std::array<std::u32string_view, 12> kWords = {
    U"layout",  U"column",    U"reading", U"order", U"figure",   U"caption",
    U"heading", U"paragraph", U"text",    U"page",  U"geometry", U"analysis"};

// Sets `text` from (x, y) in a fixed-pitch font of `size`.
void set_text(std::vector<PdfChar>& chars, std::u32string_view text, float x, float y, float size) {
  const float advance = size * 0.5f;
  for (char32_t ch : text) {
    chars.push_back(PdfChar{ch, x, y, x + advance, y + size, size});
    x += advance;
  }
}

// A line of words filling about `width` points.
std::u32string filler(std::size_t seed, float width, float size) {
  std::u32string line;
  for (std::size_t k = seed; static_cast<float>(line.size() + 10) * size * 0.5f < width; ++k) {
    if (!line.empty()) line.push_back(U' ');
    line += kWords[(k * 7 + seed) % kWords.size()];
  }
  return line;
}

std::vector<PdfChar> page_chars(std::size_t number, int columns) {
  std::vector<PdfChar> chars;
  set_text(chars, U"Technical Report 2026", 57, 806, 8);
  set_text(chars, U"Layout Of A Synthetic Page", 60, 760, 20);
  set_text(chars, std::u32string(1, static_cast<char32_t>(U'1' + number % 9)), 295, 32, 9);
  const float gutter = 18;
  const float column_width =
      (kPageWidth - 120 - gutter * static_cast<float>(columns - 1)) / static_cast<float>(columns);
  for (int c = 0; c < columns; ++c) {
    const float x = 60 + static_cast<float>(c) * (column_width + gutter);
    float y = 720;
    set_text(chars, U"2 Section Heading", x, y, 14);
    y -= 22;
    for (std::size_t line = 0; y > 60; ++line, y -= 12) {
      if (line % 9 == 8) y -= 8;  // paragraph break
      set_text(chars, filler(line + static_cast<std::size_t>(c), column_width, 10), x, y, 10);
    }
  }
  return chars;
}

std::vector<vorlin_geometry::BBox> page_figures() {
  return {vorlin_geometry::BBox{60, 500, 280, 600}};
}

void run(benchmark::State& state, int columns, bool enhanced) {
  const vorlin_geometry::BBox page_box{0, 0, kPageWidth, kPageHeight};
  std::vector<std::vector<PdfChar>> pages;
  for (std::size_t p = 0; p < kPages; ++p) pages.push_back(page_chars(p, columns));
  const std::vector<vorlin_geometry::BBox> figures = page_figures();
  std::size_t chars = 0;
  for (const auto& page : pages) chars += page.size();
  for (auto _ : state) {
    if (enhanced) {
      auto layout = vorlin_core::make_enhanced_layout();
      for (const auto& page : pages) layout->add_page(page, {}, figures, page_box);
      benchmark::DoNotOptimize(layout->finish());
    } else {
      for (const auto& page : pages) {
        benchmark::DoNotOptimize(vorlin_core::analyse_page(page, figures, page_box));
      }
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
}

void BM_plain_two_columns(benchmark::State& state) { run(state, 2, false); }
void BM_enhanced_two_columns(benchmark::State& state) { run(state, 2, true); }
void BM_plain_one_column(benchmark::State& state) { run(state, 1, false); }
void BM_enhanced_one_column(benchmark::State& state) { run(state, 1, true); }

BENCHMARK(BM_plain_two_columns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_enhanced_two_columns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_plain_one_column)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_enhanced_one_column)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
