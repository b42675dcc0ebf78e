#pragma once
// Underscore-named module functions that the Python package builds its API on: parsing through
// either backend with a chosen layout and the GIL released, and the canonical graph JSON text of a
// Document.

#include <Python.h>

namespace vorlin_py {

// Sentinel-free list of the private functions, added to the module after the public ones.
PyMethodDef* private_functions();
Py_ssize_t private_function_count();

// `_LAYOUTS`: the layout names, the default first. False with a Python error set on failure.
bool add_private_constants(PyObject* module);

}  // namespace vorlin_py
