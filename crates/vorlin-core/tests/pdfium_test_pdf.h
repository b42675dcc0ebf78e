#pragma once
// Support for the backend tests: tiny PDFs written as PDF source text, PNG decoding, and the
// library named by VORLIN_PDFIUM_LIBRARY (tests skip when it is unset or unloadable).

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "vorlin_core/backend/pdfium_backend.h"
#include "vorlin_core/backend/pdfium_library.h"

namespace vorlin_core::pdfium_test {

// A stream object's body: its dictionary entries, with /Length filled in.
inline std::string stream(const std::string& entries, const std::string& data) {
  return "<< /Length " + std::to_string(data.size()) + " " + entries + " >>\nstream\n" + data +
         "\nendstream";
}

// A PDF whose object i + 1 has the body bodies[i] (object 1 is the catalog),
// with an exact cross-reference table; `trailer_extra` joins the trailer.
inline std::string make_pdf(const std::vector<std::string>& bodies,
                            const std::string& trailer_extra = "") {
  std::string out = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
  std::string xref = "xref\n0 " + std::to_string(bodies.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    char line[21];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", out.size());
    xref += line;
    out += std::to_string(i + 1) + " 0 obj\n" + bodies[i] + "\nendobj\n";
  }
  return out + xref + "trailer\n<< /Size " + std::to_string(bodies.size() + 1) + " /Root 1 0 R " +
         trailer_extra + " >>\nstartxref\n" + std::to_string(out.size()) + "\n%%EOF\n";
}

// One page drawn by its content. Objects: 1 catalog, 2 page tree, 3 page, 4 content,
// 5 Helvetica (/F1), then `objects` from 6 on.
struct OnePage {
  std::string entries = "/MediaBox [0 0 612 792]";
  std::string fonts = "/F1 5 0 R";  // the /Font dictionary's entries
  // Initialised so that designated initialisers may leave them out.
  std::string resources = "";  // resource entries beside /Font
  std::string content = "";
  std::vector<std::string> objects = {};

  std::string pdf(const std::string& trailer_extra = "") const {
    std::vector<std::string> bodies = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R " + entries +
            " /Contents 4 0 R /Resources << /Font << " + fonts + " >> " + resources + " >> >>",
        stream("", content),
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    bodies.insert(bodies.end(), objects.begin(), objects.end());
    return make_pdf(bodies, trailer_extra);
  }
};

// An image XObject of raw 8-bit samples.
inline std::string image_object(int width, int height, const std::string& colour_space,
                                const std::string& samples, const std::string& more = "") {
  return stream("/Type /XObject /Subtype /Image /Width " + std::to_string(width) + " /Height " +
                    std::to_string(height) + " /ColorSpace " + colour_space +
                    " /BitsPerComponent 8 " + more,
                samples);
}

// Any PNG as rows of `format` pixels (libpng's PNG_FORMAT_*), top to bottom; nullopt when libpng
// refuses it.
struct DecodedPng {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> pixels;
};

inline std::optional<DecodedPng> decode_png(const std::vector<std::uint8_t>& bytes,
                                            std::uint32_t format = PNG_FORMAT_RGB) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  image.format = format;
  DecodedPng decoded{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, decoded.pixels.data(), 0, nullptr)) {
    return std::nullopt;
  }
  return decoded;
}

// The PDFium named by VORLIN_PDFIUM_LIBRARY once it has loaded, else nullopt.
inline std::optional<std::string> pdfium_library() {
  static const std::optional<std::string> library = []() -> std::optional<std::string> {
    const char* path = std::getenv("VORLIN_PDFIUM_LIBRARY");
    if (!path || !*path || !lease_pdfium(path)) return std::nullopt;
    return std::string(path);
  }();
  return library;
}

// Base of the tests that need the real library.
class WithPdfium : public ::testing::Test {
 public:
  void SetUp() override {
    if (!pdfium_library()) GTEST_SKIP() << "VORLIN_PDFIUM_LIBRARY unset or not loadable";
  }
  // The document PDFium makes of `pdf`, read from memory.
  static auto load(const std::string& pdf) {
    return PdfiumBackend(*pdfium_library()).load({pdf.begin(), pdf.end()});
  }
};

}  // namespace vorlin_core::pdfium_test
