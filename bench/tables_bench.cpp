// Table detection's cost. `corpus_pages`: over every page of the PDFs in VORLIN_BENCH_CORPORA
// (folders, ':'-separated; default the shared structure and real corpora), the enhanced page
// pass, and the table pass alone (ruling_lines + find_tables over the page's characters, as
// the backend gives them, and their lines, which the layout groups anyway) in the same run; the
// counter `table_share` is the second over the first. The page pass is most of the enhanced layout, so the share of the whole is lower still.
// `grid/N`: find_tables on an N x N ruled grid, to read its growth (google benchmark's
// complexity fit) in the rules and characters.
//
//   VORLIN_PDFIUM_LIBRARY=.../libpdfium.so build/tests/bench/tables_bench

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdfium_backend.h"
#include "vorlin_core/pipeline/enhanced_page.h"
#include "vorlin_geometry/tables.h"
#include "vorlin_geometry/word_line.h"

namespace {

namespace fs = std::filesystem;
using vorlin_core::PdfChar;
using vorlin_core::PdfPath;

struct Page {
  std::vector<PdfChar> chars;
  std::vector<PdfPath> paths;
  vorlin_geometry::BBox box;
};

std::vector<Page> corpus() {
  const char* env = std::getenv("VORLIN_BENCH_CORPORA");
  std::string folders = env ? env : "../shared/structure-corpus:../shared/real-corpus";
  const char* library = std::getenv("VORLIN_PDFIUM_LIBRARY");
  const vorlin_core::PdfiumBackend backend(library ? library : "libpdfium.so");
  std::vector<Page> pages;
  std::stringstream list(folders);
  for (std::string folder; std::getline(list, folder, ':');) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".pdf") continue;
      auto document = backend.open(entry.path().string());
      if (!document) continue;
      for (std::size_t i = 0; i < (*document)->page_count(); ++i) {
        auto page = (*document)->page(i);
        if (!page) continue;
        auto chars = (*page)->chars();
        auto paths = (*page)->paths();
        if (!chars || !paths) continue;
        const auto [w, h] = (*page)->size();
        pages.push_back(Page{std::move(*chars), std::move(*paths), {0, 0, w, h}});
      }
    }
  }
  return pages;
}

void corpus_pages(benchmark::State& state) {
  const std::vector<Page> pages = corpus();
  if (pages.empty()) {
    state.SkipWithError("no corpus pages (set VORLIN_BENCH_CORPORA and VORLIN_PDFIUM_LIBRARY)");
    return;
  }
  // The thread's CPU time: on a shared machine, wall time mostly measures the neighbours.
  const auto now = [] {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
  };
  double layout = 0, tables = 0;
  for (auto _ : state) {
    for (const Page& page : pages) {
      double start = now();
      benchmark::DoNotOptimize(vorlin_core::lay_out_page(page.chars, page.paths, {}, page.box));
      layout += now() - start;
      // The layout has the page's characters and lines at hand before its table pass.
      std::vector<vorlin_geometry::PageChar> chars;
      chars.reserve(page.chars.size());
      for (const PdfChar& c : page.chars) {
        vorlin_geometry::PageChar g{c.ch, {c.x0, c.y0, c.x1, c.y1}, c.font_size};
        g.monospace = c.monospace;
        chars.push_back(g);
      }
      const std::vector<vorlin_geometry::TextLine> lines = vorlin_geometry::group_lines(chars);
      start = now();
      std::vector<vorlin_geometry::PagePath> paths;
      paths.reserve(page.paths.size());
      for (const PdfPath& p : page.paths)
        paths.push_back({{p.x0, p.y0, p.x1, p.y1}, p.stroked, p.filled});
      benchmark::DoNotOptimize(
          vorlin_geometry::find_tables(vorlin_geometry::ruling_lines(paths), chars, lines));
      tables += now() - start;
    }
  }
  state.counters["pages"] = static_cast<double>(pages.size());
  state.counters["table_share"] = tables / layout;
}
BENCHMARK(corpus_pages)->Unit(benchmark::kMillisecond)->Iterations(3);

void grid(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const float cell_w = 60, cell_h = 14;
  std::vector<vorlin_geometry::BBox> rules;
  std::vector<vorlin_geometry::PageChar> chars;
  const float top = static_cast<float>(n) * cell_h, right = static_cast<float>(n) * cell_w;
  for (std::size_t i = 0; i <= n; ++i) {
    const float y = static_cast<float>(i) * cell_h, x = static_cast<float>(i) * cell_w;
    rules.push_back({0, y, right, y + 0.4f});
    rules.push_back({x, 0, x + 0.4f, top});
  }
  for (std::size_t r = 0; r < n; ++r) {
    for (std::size_t c = 0; c < n; ++c) {
      const float x = static_cast<float>(c) * cell_w + 4, y = static_cast<float>(r) * cell_h + 3;
      for (int k = 0; k < 6; ++k) {
        const float at = x + static_cast<float>(k) * 5;
        chars.push_back({static_cast<char32_t>(U'a' + k), {at, y, at + 5, y + 8}, 8});
      }
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(vorlin_geometry::find_tables(rules, chars));
  state.SetComplexityN(static_cast<std::int64_t>(chars.size() + rules.size()));
}
BENCHMARK(grid)->RangeMultiplier(2)->Range(4, 64)->Complexity();

}  // namespace

BENCHMARK_MAIN();
