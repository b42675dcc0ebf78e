#pragma once
// The steps every parsing entry point shares: bind and convert the arguments, run the pipeline
// with a given backend and settings, wrap the Document or raise / describe the failure.

#include <Python.h>

#include <string>
#include <vector>

#include "python_error.h"
#include "vorlin_core/backend/pdf_backend.h"
#include "vorlin_core/pipeline/parse_batch.h"
#include "vorlin_core/pipeline/parse_document.h"

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

// The exception a failure stands for: FileNotFoundError for a missing path, ValueError for the
// rest; for Interrupted, the exception the signal handler left pending (taken from the thread).
Result<PyRef> failure_exception(const vorlin_core::ParseFailure& failure);

// "<qualified class name>: <str(exception)>", a batch's value for a failed path.
Result<PyRef> failure_text(PyObject* exception);

// A Document object, or the failure raised.
Result<PyRef> document_or_raise(std::expected<vorlin_core::Document, vorlin_core::ParseFailure>&& parsed);

// A dict from each path to its Document or failure text; one pipeline run per path, in order, on
// the calling thread with the GIL held. Ctrl-C between pages ends the call.
Result<PyRef> parse_many(const BatchRequest& request, const vorlin_core::PdfBackend& backend);

// Settings whose `interrupted` runs Python's signal handlers.
vorlin_core::PipelineSettings interruptible(vorlin_core::PipelineSettings settings);

}  // namespace vorlin_py
