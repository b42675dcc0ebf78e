#pragma once
// The failure value of binding code: a Python exception has been set on this thread and the
// caller only has to return its own failure marker to the interpreter.

#include <Python.h>

#include <expected>
#include <string_view>

#include "py_ref.h"

namespace vorlin_py {

struct PythonError {};

template <typename T>
using Result = std::expected<T, PythonError>;

inline std::unexpected<PythonError> python_error() { return std::unexpected(PythonError{}); }

// A new str from UTF-8 that C++ code produced; invalid bytes (an OS message in a legacy locale)
// become U+FFFD instead of failing.
inline PyRef text_object(std::string_view text) {
  return PyRef(PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
}

// Raises `exception_type` with `message`; returns the failure value for convenience.
inline std::unexpected<PythonError> raise_text(PyObject* exception_type, std::string_view message) {
  if (PyRef text = text_object(message)) PyErr_SetObject(exception_type, text.get());
  return python_error();
}

}  // namespace vorlin_py
