// Test-only entry points, reached from the Python tests through ctypes.PyDLL (which keeps the GIL
// held and raises the Python error a null result leaves). They make events and faults that no
// public entry point produces on demand with the built-in backend. They are exported C symbols,
// not members of the module.

#include <Python.h>

#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "boundary.h"
#include "parse_options.h"
#include "parsing.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_py {
namespace {

enum class FakeKind { OneImage = 0, PageThrowsLogicError = 1, PageThrowsBadAlloc = 2 };

class FakePage final : public vorlin_core::PdfPage {
 public:
  std::pair<float, float> size() const override { return {595.0f, 842.0f}; }
  std::expected<std::vector<vorlin_core::PdfChar>, vorlin_core::PdfError> chars() const override {
    return {};
  }
  std::expected<std::vector<vorlin_core::PdfPath>, vorlin_core::PdfError> paths()
      const override {
    return {};
  }
  std::expected<std::vector<vorlin_core::PdfImage>, vorlin_core::PdfError> images()
      const override {
    vorlin_core::PdfImage image;
    image.data = std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    image.x0 = 100, image.y0 = 100, image.x1 = 200, image.y1 = 200;
    image.pixel_width = image.pixel_height = 1;
    return std::vector<vorlin_core::PdfImage>{image};
  }
  std::expected<std::vector<std::uint8_t>, vorlin_core::PdfError> render_png() const override {
    return {};
  }
};

class FakeDocument final : public vorlin_core::PdfDocument {
 public:
  explicit FakeDocument(FakeKind kind) : kind_(kind) {}
  std::size_t page_count() const override { return 1; }
  std::expected<std::unique_ptr<vorlin_core::PdfPage>, vorlin_core::PdfError> page(
      std::size_t) const override {
    if (kind_ == FakeKind::PageThrowsLogicError) throw std::out_of_range("fake page index fault");
    if (kind_ == FakeKind::PageThrowsBadAlloc) throw std::bad_alloc();
    return std::make_unique<FakePage>();
  }

 private:
  FakeKind kind_;
};

class FakeBackend final : public vorlin_core::PdfBackend {
 public:
  explicit FakeBackend(FakeKind kind) : kind_(kind) {}
  std::string_view name() const override { return "fake"; }
  bool reads_content() const override { return false; }
  std::expected<std::unique_ptr<vorlin_core::PdfDocument>, vorlin_core::PdfError> load(
      std::vector<std::uint8_t>) const override {
    return std::make_unique<FakeDocument>(kind_);
  }

 private:
  FakeKind kind_;
};

Result<std::string> hook_text(PyObject* object) {
  Py_ssize_t size = 0;
  const char* text = PyUnicode_Check(object) ? PyUnicode_AsUTF8AndSize(object, &size) : nullptr;
  if (text == nullptr && PyErr_Occurred() == nullptr) {
    return raise_text(PyExc_TypeError, "the test hook expects a str");
  }
  if (text == nullptr) return python_error();
  return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace
}  // namespace vorlin_py

// parse(path, options) through a fake backend: `kind` 0 gives one page with one image (so that a
// media_dir produces figure events), 1 and 2 make fetching the page throw out_of_range / bad_alloc.
extern "C" __attribute__((visibility("default"))) PyObject* vorlin_testing_parse(
    PyObject* path, PyObject* options, int kind) {
  using namespace vorlin_py;
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto text = hook_text(path);
    if (!text) return nullptr;
    auto fields = options_argument(options, "options");
    if (!fields) return nullptr;
    const FakeBackend backend(static_cast<FakeKind>(kind));
    auto document =
        document_or_raise(vorlin_core::parse_document(*text, *fields, backend, interruptible({})));
    return document ? document->release() : nullptr;
  });
}

// Emits `message` (a str) as a warning of the "_native" logger, as the figure writer does, then an
// info event that the logger's level must hold back.
extern "C" __attribute__((visibility("default"))) PyObject* vorlin_testing_warn(PyObject* message) {
  using namespace vorlin_py;
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto text = hook_text(message);
    if (!text) return nullptr;
    vorlin_core::native_logger()->warn("{}", *text);
    vorlin_core::native_logger()->info("below the logger's level: never forwarded");
    Py_RETURN_NONE;
  });
}
