#include "vorlin_core/ocr/ocr_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include "vorlin_core/ocr/tesseract_library.h"

namespace vorlin_core {
namespace {

using tesseract::Level;

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The line's baseline at column `x`: Tesseract gives it as a segment, tilted on a skewed scan.
float baseline_at(float x, int x1, int y1, int x2, int y2) {
  if (x2 == x1) return static_cast<float>(y1 + y2) / 2;
  return static_cast<float>(y1) +
         static_cast<float>(y2 - y1) * (x - static_cast<float>(x1)) / static_cast<float>(x2 - x1);
}

std::vector<OcrWord> read_words(const TesseractEngine& engine) {
  const tesseract::TesseractApi& api = *engine.api;
  const auto destroy = [&api](tesseract::TessResultIterator* it) {
    api.TessResultIteratorDelete(it);
  };
  std::unique_ptr<tesseract::TessResultIterator, decltype(destroy)> it(
      api.TessBaseAPIGetIterator(engine.handle), destroy);
  std::vector<OcrWord> words;
  if (!it) return words;  // an image without text
  const tesseract::TessPageIterator* page = api.TessResultIteratorGetPageIteratorConst(it.get());
  Box line;
  int base[4] = {0, 0, 0, 0};
  bool has_base = false;
  bool line_start = false;
  do {
    if (api.TessPageIteratorIsAtBeginningOf(page, Level::kTextLine)) {
      api.TessPageIteratorBoundingBox(page, Level::kTextLine, &line.left, &line.top, &line.right,
                                      &line.bottom);
      line_start = true;
      has_base = api.TessPageIteratorBaseline(page, Level::kTextLine, &base[0], &base[1], &base[2],
                                              &base[3]) != 0;
    }
    Box box;
    if (!api.TessPageIteratorBoundingBox(page, Level::kWord, &box.left, &box.top, &box.right,
                                         &box.bottom)) {
      continue;
    }
    char* text = api.TessResultIteratorGetUTF8Text(it.get(), Level::kWord);
    if (!text) continue;
    OcrWord word;
    word.text = text;
    api.TessDeleteText(text);
    std::erase_if(word.text, [](char c) { return c == ' ' || c == '\n' || c == '\t'; });
    if (word.text.empty()) continue;
    word.left = static_cast<float>(box.left);
    word.top = static_cast<float>(box.top);
    word.right = static_cast<float>(box.right);
    word.bottom = static_cast<float>(box.bottom);
    word.line_top = static_cast<float>(line.top);
    word.line_bottom = static_cast<float>(line.bottom);
    word.baseline = has_base ? baseline_at((word.left + word.right) / 2, base[0], base[1],
                                           base[2], base[3])
                             : word.line_bottom;
    word.line_start = std::exchange(line_start, false);
    word.confidence = std::clamp(api.TessResultIteratorConfidence(it.get(), Level::kWord) / 100.0f,
                                 0.0f, 1.0f);
    words.push_back(std::move(word));
  } while (api.TessResultIteratorNext(it.get(), Level::kWord));
  return words;
}

}  // namespace

std::expected<void, OcrError> ocr_available(const OcrSettings& settings) {
  auto engine = lease_tesseract(settings.library, settings.languages);
  if (!engine) return std::unexpected(std::move(engine.error()));
  return {};
}

std::expected<std::vector<OcrWord>, OcrError> recognise(const GrayImage& image, float dpi,
                                                        const OcrSettings& settings) {
  constexpr auto kMaxSide = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
      image.height > kMaxSide ||
      image.pixels.size() != std::size_t{image.width} * image.height) {
    return std::unexpected(OcrError{OcrError::Kind::Failed, "the page image is empty"});
  }
  auto engine = lease_tesseract(settings.library, settings.languages);
  if (!engine) return std::unexpected(std::move(engine.error()));
  const tesseract::TesseractApi& api = *(*engine)->api;
  tesseract::TessBaseAPI* handle = (*engine)->handle;
  const int width = static_cast<int>(image.width);
  api.TessBaseAPISetImage(handle, image.pixels.data(), width, static_cast<int>(image.height), 1,
                          width);
  api.TessBaseAPISetSourceResolution(handle, static_cast<int>(std::lround(dpi)));
  std::expected<std::vector<OcrWord>, OcrError> words =
      api.TessBaseAPIRecognize(handle, nullptr) == 0
          ? std::expected<std::vector<OcrWord>, OcrError>(read_words(**engine))
          : std::unexpected(OcrError{OcrError::Kind::Failed, "Tesseract could not read the page"});
  api.TessBaseAPIClear(handle);  // the engine goes back to the pool without this page
  return words;
}

}  // namespace vorlin_core
