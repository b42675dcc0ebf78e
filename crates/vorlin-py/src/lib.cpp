// The module vorlin_reader._native: version, parse, parse_batch and the two classes.

#include <Python.h>

#include <cstdint>
#include <span>

#include "boundary.h"
#include "document.h"
#include "log_bridge.h"
#include "parse_options.h"
#include "parsing.h"
#include "private_api.h"
#include "vorlin_core/backend/builtin_backend.h"

namespace vorlin_py {
namespace {

const vorlin_core::PdfBackend& builtin_backend() {
  static const vorlin_core::BuiltinBackend backend;
  return backend;
}

PyObject* version(PyObject*, PyObject*) { return PyUnicode_FromString(VORLIN_VERSION); }

PyObject* parse(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto request = single_request("parse", args, nargs, kwnames);
    if (!request) return nullptr;
    auto document = document_or_raise(vorlin_core::parse_document(
        request->path, request->options, builtin_backend(), interruptible({})));
    return document ? document->release() : nullptr;
  });
}

PyObject* parse_batch(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto request = batch_request("parse_batch", args, nargs, kwnames);
    if (!request) return nullptr;
    auto outcomes = parse_many(*request, builtin_backend());
    return outcomes ? outcomes->release() : nullptr;
  });
}

PyMethodDef functions[] = {
    {"version", version, METH_NOARGS,
     "version()\n--\n\nReturn the semantic version of the core library. An earlier phase already "
     "exposed it;\nthe function stays so that downstream code never has to change its import."},
    {"parse", as_method(parse), METH_FASTCALL | METH_KEYWORDS,
     "parse(path, options=None)\n--\n\nParse a single PDF using the native geometry + "
     "abstract-backend extraction pipeline."},
    {"parse_batch", as_method(parse_batch), METH_FASTCALL | METH_KEYWORDS,
     "parse_batch(paths, options=None)\n--\n\nParse several PDFs. Returns a dict `{path: "
     "Document}` so callers can\nquickly distinguish results from failures."},
};

// The classes and PanicException are shared by the whole process; a second interpreter would
// share them with the first, which their reference counts do not survive.
bool check_single_interpreter() {
  static std::int64_t owner = -1;
  const std::int64_t current = PyInterpreterState_GetID(PyInterpreterState_Get());
  if (current < 0) return false;
  if (owner < 0) owner = current;
  if (owner == current) return true;
  PyErr_SetString(PyExc_ImportError,
                  "vorlin_reader._native can be loaded in one interpreter per process only");
  return false;
}

bool add_functions(PyObject* module, PyObject* module_name, std::span<PyMethodDef> definitions) {
  for (PyMethodDef& definition : definitions) {
    PyRef function(PyCFunction_NewEx(&definition, module, module_name));
    if (!function || PyModule_AddObjectRef(module, definition.ml_name, function.get()) < 0) {
      return false;
    }
  }
  return true;
}

bool add_type(PyObject* module, Result<PyTypeObject*> type) {
  return type && PyModule_AddType(module, *type) == 0;
}

int exec_module(PyObject* module) {
  return guarded(-1, [&]() -> int {
    if (!PyModule_Check(module)) {
      PyErr_SetString(PyExc_SystemError, "vorlin_reader._native must be executed as a module");
      return -1;
    }
    if (!check_single_interpreter() || !init_panic_exception()) return -1;
    PyRef module_name(PyModule_GetNameObject(module));
    if (!module_name) return -1;
    if (!add_functions(module, module_name.get(), functions) ||
        !add_type(module, parse_options_type()) || !add_type(module, document_type()) ||
        !add_functions(module, module_name.get(),
                       std::span(private_functions(), private_function_count())) ||
        !add_private_constants(module)) {
      return -1;
    }
    attach_log_bridge();
    return 0;
  });
}

PyModuleDef_Slot slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(exec_module)},
    {0, nullptr},
};

PyModuleDef module_definition = {
    PyModuleDef_HEAD_INIT,
    "_native",
    "A Python module implemented natively in C++.",
    0,
    nullptr,
    slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace
}  // namespace vorlin_py

PyMODINIT_FUNC PyInit__native() { return PyModuleDef_Init(&vorlin_py::module_definition); }
