#pragma once
// Every entry point from the interpreter runs its body through `guarded`, so that no C++
// exception ever unwinds into the interpreter: std::bad_alloc becomes MemoryError, and any other
// exception is a broken invariant that becomes PanicException, derived from BaseException so that
// `except Exception` cannot swallow it. The body returns its result, or `failure` with a Python
// error set.

#include <Python.h>

namespace vorlin_py {

// Creates PanicException once per process; false with a Python error set when that fails.
bool init_panic_exception();

// True while any thread runs inside a guarded entry point: the interpreter is alive and a parse
// may be logging.
bool entry_point_running();

// Sets MemoryError or PanicException for the exception being handled; call only inside a catch.
void raise_current_exception() noexcept;

// A fast-call entry point as the PyCFunction a method table holds.
template <typename Function>
PyCFunction as_method(Function function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

class EntryPointScope {
 public:
  EntryPointScope() noexcept;
  ~EntryPointScope();
  EntryPointScope(const EntryPointScope&) = delete;
  EntryPointScope& operator=(const EntryPointScope&) = delete;
};

template <typename Result, typename Body>
Result guarded(Result failure, Body&& body) noexcept {
  EntryPointScope scope;
  try {
    return body();
  } catch (...) {
    raise_current_exception();
    return failure;
  }
}

}  // namespace vorlin_py
