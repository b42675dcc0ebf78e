#include "private_api.h"

#include <string>

#include "arguments.h"
#include "boundary.h"
#include "document.h"
#include "parsing.h"
#include "vorlin_core/backend/pdfium_backend.h"

namespace vorlin_py {
namespace {

// The leading (library, layout) pair that the package passes positionally.
struct BackendChoice {
  std::string library;
  vorlin_core::Layout layout;
};

Result<BackendChoice> backend_choice(const char* function, PyObject* const* args,
                                     Py_ssize_t nargs) {
  if (nargs < 2) {
    return raise_text(PyExc_TypeError,
                      std::string(function) + "() needs the library path and the layout first");
  }
  auto library = to_text(args[0], "library");
  if (!library) return python_error();
  auto layout = to_text(args[1], "layout");
  if (!layout) return python_error();
  if (*layout != "enhanced" && *layout != "spec") {
    return raise_text(PyExc_ValueError, "layout must be one of enhanced / spec, got " + *layout);
  }
  return BackendChoice{std::move(*library), *layout == "enhanced" ? vorlin_core::Layout::Enhanced
                                                                  : vorlin_core::Layout::Spec};
}

// _parse_pdfium(library, layout, path, options=None)
PyObject* parse_pdfium(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto choice = backend_choice("_parse_pdfium", args, nargs);
    if (!choice) return nullptr;
    auto request = single_request("parse", args + 2, nargs - 2, kwnames);
    if (!request) return nullptr;
    const vorlin_core::PdfiumBackend backend(choice->library);
    auto document = parse_one(*request, backend, choice->layout);
    return document ? document->release() : nullptr;
  });
}

// _parse_batch_pdfium(library, layout, paths, options=None)
PyObject* parse_batch_pdfium(PyObject*, PyObject* const* args, Py_ssize_t nargs,
                             PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto choice = backend_choice("_parse_batch_pdfium", args, nargs);
    if (!choice) return nullptr;
    auto request = batch_request("parse_batch", args + 2, nargs - 2, kwnames);
    if (!request) return nullptr;
    const vorlin_core::PdfiumBackend backend(choice->library);
    auto outcomes = parse_many(*request, backend, choice->layout);
    return outcomes ? outcomes->release() : nullptr;
  });
}

PyObject* graph_json(PyObject*, PyObject* document) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* { return graph_json_text(document); });
}

template <typename Function>
PyCFunction as_method(Function function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

PyMethodDef functions[] = {
    {"_parse_pdfium", as_method(parse_pdfium), METH_FASTCALL | METH_KEYWORDS,
     "_parse_pdfium(library, layout, path, options=None)\n--\n\nparse() through PDFium."},
    {"_parse_batch_pdfium", as_method(parse_batch_pdfium), METH_FASTCALL | METH_KEYWORDS,
     "_parse_batch_pdfium(library, layout, paths, options=None)\n--\n\nparse_batch() through "
     "PDFium."},
    {"_graph_json_text", graph_json, METH_O,
     "_graph_json_text(document)\n--\n\nThe canonical compact graph JSON text."},
};

}  // namespace

PyMethodDef* private_functions() { return functions; }
Py_ssize_t private_function_count() { return std::size(functions); }

}  // namespace vorlin_py
