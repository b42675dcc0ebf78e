#pragma once
// Underscore-named module functions that the Python package builds its API on: parsing through
// the PDFium backend with a chosen layout, and the canonical graph JSON text of a Document.

#include <Python.h>

namespace vorlin_py {

// Sentinel-free list of the private functions, added to the module after the public ones.
PyMethodDef* private_functions();
Py_ssize_t private_function_count();

}  // namespace vorlin_py
