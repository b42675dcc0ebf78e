// Throughput of the page geometry chain on a synthetic dense two-column page, and its scaling
// with the character count.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "vorlin_core/pipeline/analyse_page.h"
#include "vorlin_geometry/headings.h"
#include "vorlin_geometry/noise.h"
#include "vorlin_geometry/paragraph.h"
#include "vorlin_geometry/word_line.h"
#include "vorlin_geometry/xycut.h"

namespace {

namespace geo = vorlin_geometry;

constexpr std::size_t kCharsPerColumnLine = 50;
constexpr std::size_t kRowsPerParagraph = 6;
constexpr std::size_t kParagraphsPerHeading = 5;
constexpr float kRowPitch = 12.0f;
constexpr float kBodySize = 10.0f;
constexpr float kHeadingSize = 16.0f;
constexpr float kCharWidth = 5.0f;
constexpr float kLeftColumn = 40.0f;
constexpr float kRightColumn = 320.0f;

struct Page {
  std::vector<geo::PageChar> chars;
  geo::BBox box;
};

// Rows of two columns of 50-character lines (words of five letters), the right column set half a
// row lower so each column line is a line of its own; a blank row between paragraphs, a heading
// row every few paragraphs and a page number at the foot. The page grows downwards as needed.
// Characters come column by column, as a PDF's content stream usually delivers them.
Page dense_page(std::size_t char_count) {
  struct Run {
    float x, y0, size;
  };
  std::vector<Run> runs, right_runs;
  std::size_t planned = 2;  // the page number
  std::size_t row = 0;
  for (std::size_t paragraph = 0; planned < char_count; ++paragraph, ++row) {
    if (paragraph % kParagraphsPerHeading == 0) {
      runs.push_back({kLeftColumn, -kRowPitch * static_cast<float>(row++), kHeadingSize});
      planned += kCharsPerColumnLine / 2;
    }
    for (std::size_t r = 0; r < kRowsPerParagraph && planned < char_count; ++r, ++row) {
      const float y0 = -kRowPitch * static_cast<float>(row);
      runs.push_back({kLeftColumn, y0, kBodySize});
      right_runs.push_back({kRightColumn, y0 - kRowPitch / 2, kBodySize});
      planned += 2 * kCharsPerColumnLine;
    }
  }

  runs.insert(runs.end(), right_runs.begin(), right_runs.end());

  // Rows were laid out from y = 0 downwards; shift them up onto the page.
  const float height = kRowPitch * static_cast<float>(row + 4);
  Page page{{}, geo::BBox{0, 0, 612, height}};
  page.chars.reserve(char_count);
  std::size_t letter = 0;
  for (const Run& run : runs) {
    const bool heading = run.size == kHeadingSize;
    const std::size_t length = heading ? kCharsPerColumnLine / 2 : kCharsPerColumnLine;
    const float width = heading ? kCharWidth * 1.6f : kCharWidth;
    for (std::size_t i = 0; i < length && page.chars.size() + 2 < char_count; ++i) {
      const char32_t ch = i % 6 == 5 ? U' ' : static_cast<char32_t>(U'a' + letter++ % 26);
      const float x0 = run.x + width * static_cast<float>(i);
      const float y0 = run.y0 + height - 2 * kRowPitch;
      page.chars.push_back(
          geo::PageChar{ch, geo::BBox{x0, y0, x0 + width, y0 + run.size}, run.size});
    }
  }
  float x0 = 300.0f;
  for (char32_t digit : {U'1', U'7'}) {
    page.chars.push_back(geo::PageChar{digit, geo::BBox{x0, 10, x0 + kCharWidth, 20}, kBodySize});
    x0 += kCharWidth;
  }
  return page;
}

struct ChainResult {
  std::size_t lines = 0, headings = 0, nodes = 0;
};

// The whole per-page chain, as page analysis runs it.
ChainResult analyse(const Page& page) {
  const std::vector<geo::TextLine> lines =
      geo::filter_noise(geo::group_lines(page.chars), page.chars, page.box);
  std::vector<geo::HeadingLine> heading_lines;
  for (const geo::TextLine& line : lines) {
    heading_lines.push_back(
        geo::HeadingLine{geo::line_font_size(line, page.chars), line.bbox,
                         geo::is_heading_text(geo::line_text(line, page.chars))});
  }
  const std::vector<geo::LineRole> roles = geo::detect_headings(heading_lines, page.box);
  ChainResult result{lines.size(), 0, 0};
  std::vector<geo::BBox> node_boxes;
  for (const geo::Block& block : geo::build_blocks(lines, roles)) {
    if (geo::block_text(block, page.chars).empty()) continue;
    node_boxes.push_back(block.bbox);
    if (block.is_heading) ++result.headings;
  }
  result.nodes = geo::xycut_order(node_boxes, geo::kReadingGapFactor, false).size();
  return result;
}

void BM_page_chain(benchmark::State& state) {
  const Page page = dense_page(static_cast<std::size_t>(state.range(0)));
  ChainResult result;
  for (auto _ : state) {
    result = analyse(page);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(page.chars.size()));
  state.counters["lines"] = static_cast<double>(result.lines);
  state.counters["headings"] = static_cast<double>(result.headings);
  state.counters["nodes"] = static_cast<double>(result.nodes);
  // Seconds per character, printed with an SI prefix (n = nanoseconds).
  using benchmark::Counter;
  state.counters["time_per_char"] = Counter(static_cast<double>(page.chars.size()),
                                            Counter::kIsIterationInvariantRate | Counter::kInvert);
}
BENCHMARK(BM_page_chain)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

// Whole page analysis on the same page: the chain plus node building and ordering.
void BM_analyse_page(benchmark::State& state) {
  const Page page = dense_page(static_cast<std::size_t>(state.range(0)));
  std::vector<vorlin_core::PdfChar> chars;
  chars.reserve(page.chars.size());
  for (const geo::PageChar& c : page.chars) {
    chars.push_back({c.ch, c.bbox.x0, c.bbox.y0, c.bbox.x1, c.bbox.y1, c.font_size});
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(vorlin_core::analyse_page(chars, {}, page.box));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(page.chars.size()));
}
BENCHMARK(BM_analyse_page)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

void BM_group_lines(benchmark::State& state) {
  const Page page = dense_page(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(geo::group_lines(page.chars));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(page.chars.size()));
}
BENCHMARK(BM_group_lines)->Arg(10'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// Worst case for the cut: one column of equally spaced boxes is peeled one box per level.
void BM_xycut_equal_gaps(benchmark::State& state) {
  std::vector<geo::BBox> boxes;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    const float y0 = -20.0f * static_cast<float>(i);
    boxes.push_back(geo::BBox{0, y0, 200, y0 + 10});
  }
  for (auto _ : state) benchmark::DoNotOptimize(geo::xycut_order(boxes, 0.3f, false));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_xycut_equal_gaps)->Arg(100)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
