#pragma once
// The Python class ParseOptions: five validated, read-write fields that parse and parse_batch copy
// into a vorlin_core::ParseOptions record when they are called.

#include <Python.h>

#include "python_error.h"
#include "vorlin_core/pipeline/parse_options.h"

namespace vorlin_py {

// The class, created on first use and shared by every import in the process.
Result<PyTypeObject*> parse_options_type();

// The record an `options` argument stands for: the defaults for null (omitted) or None, a copy
// of the fields for a ParseOptions, TypeError with the argument prefix for anything else.
Result<vorlin_core::ParseOptions> options_argument(PyObject* object, const char* argument);

}  // namespace vorlin_py
