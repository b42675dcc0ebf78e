#pragma once
// The steps every parsing entry point shares, so that another backend can be offered through the
// same conversions and failure mapping: bind and convert the arguments, run the pipeline with a
// given backend and layout, wrap the Document or raise / describe the failure.

#include <Python.h>

#include <string>
#include <vector>

#include "python_error.h"
#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/pipeline/layout.h"
#include "vorlin_core/pipeline/parse_options.h"

namespace vorlin_py {

// `<function>(path, options=None)`, converted.
struct SingleRequest {
  std::string path;
  vorlin_core::ParseOptions options;
};

// `<function>(paths, options=None)`, converted.
struct BatchRequest {
  std::vector<std::string> paths;
  vorlin_core::ParseOptions options;
};

Result<SingleRequest> single_request(const char* function, PyObject* const* args,
                                     Py_ssize_t nargs, PyObject* kwnames);
Result<BatchRequest> batch_request(const char* function, PyObject* const* args, Py_ssize_t nargs,
                                   PyObject* kwnames);

// A Document object, or the failure raised as FileNotFoundError / ValueError.
Result<PyRef> parse_one(const SingleRequest& request, const vorlin_core::PdfBackend& backend,
                        vorlin_core::Layout layout = vorlin_core::Layout::Spec);

// A dict from each path to its Document or failure text; one pipeline run per path, in order.
Result<PyRef> parse_many(const BatchRequest& request, const vorlin_core::PdfBackend& backend,
                         vorlin_core::Layout layout = vorlin_core::Layout::Spec);

}  // namespace vorlin_py
