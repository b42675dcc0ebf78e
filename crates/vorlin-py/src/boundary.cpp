#include "boundary.h"

#include <atomic>
#include <exception>
#include <new>
#include <string_view>

#include "python_error.h"

namespace vorlin_py {
namespace {

// Shared by every interpreter import of the module, like the two classes.
PyObject* panic_exception = nullptr;

std::atomic<int> entry_points_running{0};

void raise_panic(std::string_view what) noexcept {
  raise_text(panic_exception != nullptr ? panic_exception : PyExc_SystemError, what);
}

}  // namespace

bool init_panic_exception() {
  if (panic_exception != nullptr) return true;
  panic_exception = PyErr_NewExceptionWithDoc(
      "vorlin_reader._native.PanicException",
      "An internal fault of the native code (a broken invariant). It derives from\n"
      "BaseException so that handlers for Exception do not hide it.",
      PyExc_BaseException, nullptr);
  return panic_exception != nullptr;
}

bool entry_point_running() { return entry_points_running.load() > 0; }

EntryPointScope::EntryPointScope() noexcept { ++entry_points_running; }
EntryPointScope::~EntryPointScope() { --entry_points_running; }

void raise_current_exception() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& fault) {
    raise_panic(fault.what());
  } catch (...) {
    raise_panic("unknown C++ exception");
  }
}

}  // namespace vorlin_py
