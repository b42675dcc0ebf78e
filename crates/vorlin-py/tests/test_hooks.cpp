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
#include "parsing.h"
#include "support/fake_backend.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_py {
namespace {

// One page whose fetching throws out_of_range (kind 1) or bad_alloc (kind 2).
vorlin_core::testing_support::FakeBackend fake_backend(int kind) {
  vorlin_core::testing_support::FakePage page;
  if (kind == 1) page.page_fault = std::make_exception_ptr(std::out_of_range("fake page index fault"));
  if (kind == 2) page.page_fault = std::make_exception_ptr(std::bad_alloc());
  return vorlin_core::testing_support::FakeBackend({page});
}

Result<std::string> hook_text(PyObject* object) {
  Py_ssize_t size = 0;
  const char* text = PyUnicode_AsUTF8AndSize(object, &size);
  if (text == nullptr) return python_error();
  return std::string(text, static_cast<std::size_t>(size));
}

}  // namespace
}  // namespace vorlin_py

// parse(path) through fake_backend(kind).
extern "C" __attribute__((visibility("default"))) PyObject* vorlin_testing_parse(PyObject* path,
                                                                                 int kind) {
  using namespace vorlin_py;
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto text = hook_text(path);
    if (!text) return nullptr;
    const auto backend = fake_backend(kind);
    auto document =
        document_or_raise(vorlin_core::parse_document(*text, {}, backend, interruptible({})));
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
