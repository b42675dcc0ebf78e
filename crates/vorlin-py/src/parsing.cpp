#include "parsing.h"

#include <array>

#include "arguments.h"
#include "document.h"
#include "interrupts.h"
#include "parse_options.h"

namespace vorlin_py {
namespace {

using vorlin_core::ParseFailure;

template <std::size_t N>
Result<std::array<PyObject*, N>> bind(const char* function,
                                      const std::array<const char*, N>& names,
                                      PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  const Signature signature{function, names, 1};
  std::array<PyObject*, N> bound{};
  if (!bind_arguments(signature, args, nargs, kwnames, bound)) return python_error();
  return bound;
}

}  // namespace

Result<SingleRequest> single_request(const char* function, PyObject* const* args,
                                     Py_ssize_t nargs, PyObject* kwnames) {
  static constexpr std::array<const char*, 2> kNames = {"path", "options"};
  auto bound = bind(function, kNames, args, nargs, kwnames);
  if (!bound) return python_error();
  auto path = to_text((*bound)[0], "path");
  if (!path) return python_error();
  auto options = options_argument((*bound)[1], "options");
  if (!options) return python_error();
  return SingleRequest{std::move(*path), std::move(*options)};
}

Result<BatchRequest> batch_request(const char* function, PyObject* const* args, Py_ssize_t nargs,
                                   PyObject* kwnames) {
  static constexpr std::array<const char*, 2> kNames = {"paths", "options"};
  auto bound = bind(function, kNames, args, nargs, kwnames);
  if (!bound) return python_error();
  auto paths = to_text_list((*bound)[0], "paths");
  if (!paths) return python_error();
  auto options = options_argument((*bound)[1], "options");
  if (!options) return python_error();
  return BatchRequest{std::move(*paths), std::move(*options)};
}

Result<PyRef> failure_exception(const ParseFailure& failure) {
  if (failure.kind == ParseFailure::Kind::Interrupted) {
    PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    if (!type) return raise_text(PyExc_SystemError, "parse interrupted without an exception");
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback) PyException_SetTraceback(value, traceback);
    Py_XDECREF(type);
    Py_XDECREF(traceback);
    return PyRef(value);
  }
  PyObject* type =
      failure.kind == ParseFailure::Kind::NotFound ? PyExc_FileNotFoundError : PyExc_ValueError;
  PyRef message = text_object(failure.message);
  if (!message) return python_error();
  PyRef exception(PyObject_CallFunctionObjArgs(type, message.get(), nullptr));
  if (!exception) return python_error();
  return exception;
}

Result<PyRef> failure_text(PyObject* exception) {
  PyRef class_name(PyType_GetQualName(Py_TYPE(exception)));
  if (!class_name) return python_error();
  PyRef text(PyObject_Str(exception));
  if (!text) {
    PyErr_Clear();
    text = PyRef(PyUnicode_FromString("<exception str() failed>"));
    if (!text) return python_error();
  }
  PyRef joined(PyUnicode_FromFormat("%U: %U", class_name.get(), text.get()));
  if (!joined) return python_error();
  return joined;
}

Result<PyRef> document_or_raise(std::expected<vorlin_core::Document, ParseFailure>&& parsed) {
  if (parsed) return wrap_document(std::move(*parsed));
  if (parsed.error().kind == ParseFailure::Kind::Interrupted) return python_error();
  auto exception = failure_exception(parsed.error());
  if (!exception) return python_error();
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception->get())), exception->get());
  return python_error();
}

vorlin_core::PipelineSettings interruptible(vorlin_core::PipelineSettings settings) {
  settings.interrupted = signal_raised;
  return settings;
}

Result<PyRef> parse_many(const BatchRequest& request, const vorlin_core::PdfBackend& backend) {
  const vorlin_core::PipelineSettings settings = interruptible({});
  PyRef outcomes(PyDict_New());
  if (!outcomes) return python_error();
  for (const std::string& path : request.paths) {
    auto document = vorlin_core::parse_document(path, request.options, backend, settings);
    Result<PyRef> value;
    if (document) {
      value = wrap_document(std::move(*document));
    } else {
      // The signal handler's exception is pending and ends the whole call.
      if (document.error().kind == ParseFailure::Kind::Interrupted) return python_error();
      auto exception = failure_exception(document.error());
      value = exception ? failure_text(exception->get()) : Result<PyRef>(python_error());
    }
    if (!value) return python_error();
    PyRef key = text_object(path);
    if (!key || PyDict_SetItem(outcomes.get(), key.get(), value->get()) < 0) {
      return python_error();
    }
  }
  return outcomes;
}

}  // namespace vorlin_py
