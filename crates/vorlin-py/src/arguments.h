#pragma once
// Binding of call arguments to named parameters, and conversion of each argument to its C++
// value. Every failure sets a Python exception (TypeError in the interpreter's own wording for
// binding; "argument '<name>': " + the conversion text for conversion) and returns PythonError.

#include <Python.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "python_error.h"

namespace vorlin_py {

struct Signature {
  const char* function;               // as shown in binding errors: "<function>() ..."
  std::span<const char* const> names;  // parameters in position order
  std::size_t required;               // how many leading parameters have no default
};

// Fills `bound` (one slot per parameter, borrowed, null where not given) from a fast call with
// keywords: positional `args[0..nargs)`, then the values of `kwnames` following them.
Result<void> bind_arguments(const Signature& signature, PyObject* const* args, Py_ssize_t nargs,
                            PyObject* kwnames, std::span<PyObject*> bound);
// The same for a classic call (a tuple and an optional dict), as a type's constructor receives.
Result<void> bind_arguments(const Signature& signature, PyObject* args, PyObject* kwargs,
                            std::span<PyObject*> bound);

// "'<type name>' object is not an instance of '<expected>'" ("'None' is not ..." for None).
std::string wrong_type_text(PyObject* object, const char* expected);
// Raises TypeError "argument '<argument>': " + the wrong-type text for `object`.
void raise_wrong_type(PyObject* object, const char* expected, const char* argument);

// Each conversion accepts exactly what its Python parameter documents.
Result<std::string> to_text(PyObject* object, const char* argument);
Result<std::optional<std::string>> to_optional_text(PyObject* object, const char* argument);
// A bool, or NumPy's bool scalar through its truth value; never an int.
Result<bool> to_flag(PyObject* object, const char* argument);
// None, or an integer (via __index__) that fits 64 unsigned bits; range errors stay OverflowError.
Result<std::optional<std::uint64_t>> to_optional_count(PyObject* object, const char* argument);
// A sequence of str, but not a str itself.
Result<std::vector<std::string>> to_text_list(PyObject* object, const char* argument);

}  // namespace vorlin_py
