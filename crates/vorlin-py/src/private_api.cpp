#include "private_api.h"

#include <array>
#include <optional>
#include <string>

#include "arguments.h"
#include "boundary.h"
#include "document.h"
#include "interrupts.h"
#include "parse_options.h"
#include "parsing.h"
#include "rendering.h"
#include "vorlin_core/backend/builtin_backend.h"
#include "vorlin_core/backend/pdfium_backend.h"

namespace vorlin_py {
namespace {

using vorlin_core::PipelineSettings;

// The leading (library or None, layout, max_image_pixels, use_outline) that the package passes
// positionally.
struct Engine {
  std::optional<vorlin_core::PdfiumBackend> pdfium;  // absent: the built-in backend
  PipelineSettings settings;

  const vorlin_core::PdfBackend& backend() const {
    static const vorlin_core::BuiltinBackend builtin;
    if (pdfium) return *pdfium;
    return builtin;
  }
};

constexpr Py_ssize_t kEngineArguments = 4;

Result<Engine> engine_of(const char* function, PyObject* const* args, Py_ssize_t nargs) {
  if (nargs < kEngineArguments) {
    return raise_text(PyExc_TypeError, std::string(function) +
                                           "() needs the library, the layout, the image "
                                           "pixel limit and use_outline first");
  }
  Engine engine;
  if (args[0] != Py_None) {
    auto library = to_text(args[0], "library");
    if (!library) return python_error();
    engine.pdfium.emplace(std::move(*library));
  }
  auto name = to_text(args[1], "layout");
  if (!name) return python_error();
  const std::optional<vorlin_core::Layout> layout = vorlin_core::layout_named(*name);
  if (!layout) return raise_text(PyExc_ValueError, "unknown layout " + *name);
  auto max_pixels = to_optional_count(args[2], "max_image_pixels");
  if (!max_pixels) return python_error();
  const int use_outline = PyObject_IsTrue(args[3]);
  if (use_outline < 0) return python_error();
  engine.settings.layout = *layout;
  engine.settings.use_outline = use_outline == 1;
  engine.settings.max_image_pixels = max_pixels->value_or(vorlin_core::kDefaultMaxImagePixels);
  engine.settings.name_paths_in_warnings = true;
  engine.settings.interrupted = signal_raised;
  return engine;
}

// The `ocr` argument: None (no OCR) or (mode, languages, dpi, library).
Result<vorlin_core::OcrSettings> ocr_argument(PyObject* object) {
  vorlin_core::OcrSettings settings;
  if (!object || object == Py_None) return settings;
  if (!PyTuple_Check(object) || PyTuple_Size(object) != 4) {
    return raise_text(PyExc_TypeError, "ocr must be None or (mode, languages, dpi, library)");
  }
  auto mode = to_text(PyTuple_GetItem(object, 0), "ocr mode");
  if (!mode) return python_error();
  const std::optional<vorlin_core::OcrMode> known = vorlin_core::ocr_mode_named(*mode);
  if (!known) return raise_text(PyExc_ValueError, "unknown ocr mode " + *mode);
  auto languages = to_text(PyTuple_GetItem(object, 1), "ocr languages");
  if (!languages) return python_error();
  auto dpi = to_optional_count(PyTuple_GetItem(object, 2), "ocr dpi");
  if (!dpi) return python_error();
  auto library = to_text(PyTuple_GetItem(object, 3), "ocr library");
  if (!library) return python_error();
  settings.mode = *known;
  settings.languages = std::move(*languages);
  settings.dpi = static_cast<float>(dpi->value_or(300));
  if (!(settings.dpi > 0)) return raise_text(PyExc_ValueError, "ocr dpi must be positive");
  settings.library = std::move(*library);
  return settings;
}

// A path as the OS takes it: bytes unchanged, str through the file system encoding (so names
// that are not valid UTF-8 round-trip through os.fsdecode).
Result<std::string> os_path(PyObject* object, const char* argument) {
  PyRef encoded;
  if (PyUnicode_Check(object)) {
    encoded = PyRef(PyUnicode_EncodeFSDefault(object));
    if (!encoded) return python_error();
    object = encoded.get();
  }
  char* data = nullptr;
  Py_ssize_t size = 0;
  if (!PyBytes_Check(object) || PyBytes_AsStringAndSize(object, &data, &size) < 0) {
    if (!PyErr_Occurred()) raise_wrong_type(object, "bytes", argument);
    return python_error();
  }
  return std::string(data, static_cast<std::size_t>(size));
}

template <std::size_t N>
Result<std::array<PyObject*, N>> bind_named(const char* function,
                                      const std::array<const char*, N>& names,
                                      std::size_t required, PyObject* const* args,
                                      Py_ssize_t nargs, PyObject* kwnames) {
  const Signature signature{function, names, required};
  std::array<PyObject*, N> bound{};
  if (!bind_arguments(signature, args, nargs, kwnames, bound)) return python_error();
  return bound;
}

// _parse(library, layout, max_image_pixels, use_outline, path, options=None, ocr=None): GIL
// released while parsing.
PyObject* parse(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto engine = engine_of("_parse", args, nargs);
    if (!engine) return nullptr;
    auto bound = bind_named("_parse", std::array{"path", "options", "ocr"}, 1,
                            args + kEngineArguments, nargs - kEngineArguments, kwnames);
    if (!bound) return nullptr;
    auto ocr = ocr_argument((*bound)[2]);
    if (!ocr) return nullptr;
    engine->settings.ocr = std::move(*ocr);
    auto path = os_path((*bound)[0], "path");
    if (!path) return nullptr;
    auto options = options_argument((*bound)[1], "options");
    if (!options) return nullptr;
    std::expected<vorlin_core::Document, vorlin_core::ParseFailure> parsed;
    {
      const GilReleased released;
      parsed = vorlin_core::parse_document(*path, *options, engine->backend(), engine->settings);
    }
    auto document = document_or_raise(std::move(parsed));
    return document ? document->release() : nullptr;
  });
}

// _parse_bytes(library, layout, max_image_pixels, use_outline, data, name, options=None, ocr=None)
PyObject* parse_bytes(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto engine = engine_of("_parse_bytes", args, nargs);
    if (!engine) return nullptr;
    auto bound = bind_named("_parse_bytes", std::array{"data", "name", "options", "ocr"}, 2,
                            args + kEngineArguments, nargs - kEngineArguments, kwnames);
    if (!bound) return nullptr;
    auto ocr = ocr_argument((*bound)[3]);
    if (!ocr) return nullptr;
    engine->settings.ocr = std::move(*ocr);
    auto name = to_text((*bound)[1], "name");
    if (!name) return nullptr;
    auto options = options_argument((*bound)[2], "options");
    if (!options) return nullptr;
    Py_buffer view;
    if (PyObject_GetBuffer((*bound)[0], &view, PyBUF_SIMPLE) < 0) return nullptr;
    const auto* start = static_cast<const std::uint8_t*>(view.buf);
    std::vector<std::uint8_t> bytes(start, start + view.len);
    PyBuffer_Release(&view);
    std::expected<vorlin_core::Document, vorlin_core::ParseFailure> parsed;
    {
      const GilReleased released;
      parsed = vorlin_core::parse_document_bytes(std::move(bytes), *name, *options,
                                                 engine->backend(), engine->settings);
    }
    auto document = document_or_raise(std::move(parsed));
    return document ? document->release() : nullptr;
  });
}

// The exception object for a fault that ended one file's parse.
Result<PyRef> fault_exception(const std::exception_ptr& fault) {
  try {
    std::rethrow_exception(fault);
  } catch (...) {
    raise_current_exception();
  }
  PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  Py_XDECREF(type);
  Py_XDECREF(traceback);
  if (!value) return python_error();
  return PyRef(value);
}

Result<PyRef> outcome_object(vorlin_core::BatchOutcome&& outcome) {
  if (auto* document = std::get_if<vorlin_core::Document>(&outcome)) {
    return wrap_document(std::move(*document));
  }
  if (auto* failure = std::get_if<vorlin_core::ParseFailure>(&outcome)) {
    return failure_exception(*failure);
  }
  return fault_exception(std::get<std::exception_ptr>(outcome));
}

// _parse_many(library, layout, max_image_pixels, use_outline, paths, options=None, workers=1,
// ocr=None): a list holding, per path in order, its Document or the exception that parsing it
// raised.
PyObject* parse_many_files(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto engine = engine_of("_parse_many", args, nargs);
    if (!engine) return nullptr;
    auto bound = bind_named("_parse_many", std::array{"paths", "options", "workers", "ocr"}, 1,
                            args + kEngineArguments, nargs - kEngineArguments, kwnames);
    if (!bound) return nullptr;
    auto ocr = ocr_argument((*bound)[3]);
    if (!ocr) return nullptr;
    engine->settings.ocr = std::move(*ocr);
    const Py_ssize_t count = PySequence_Size((*bound)[0]);
    if (count < 0) return nullptr;
    std::vector<std::string> paths;
    for (Py_ssize_t i = 0; i < count; ++i) {
      PyRef item(PySequence_GetItem((*bound)[0], i));
      auto path = item ? os_path(item.get(), "paths") : Result<std::string>(python_error());
      if (!path) return nullptr;
      paths.push_back(std::move(*path));
    }
    auto options = options_argument((*bound)[1], "options");
    if (!options) return nullptr;
    auto workers = (*bound)[2] ? to_optional_count((*bound)[2], "workers")
                               : Result<std::optional<std::uint64_t>>(std::nullopt);
    if (!workers) return nullptr;

    std::vector<vorlin_core::BatchOutcome> outcomes;
    bool interrupted = false;
    {
      const GilReleased released;
      // Workers never touch Python: only this thread runs the signal handlers, between polls.
      PipelineSettings settings = engine->settings;
      settings.interrupted = nullptr;
      outcomes = vorlin_core::parse_batch(paths, *options, engine->backend(), settings,
                                          workers->value_or(1), [&interrupted] {
                                            interrupted = signal_raised();
                                            return !interrupted;
                                          });
    }
    if (interrupted) return nullptr;
    PyRef list(PyList_New(static_cast<Py_ssize_t>(outcomes.size())));
    if (!list) return nullptr;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
      auto value = outcome_object(std::move(outcomes[i]));
      if (!value) return nullptr;
      PyList_SetItem(list.get(), static_cast<Py_ssize_t>(i), value->release());
    }
    return list.release();
  });
}

PyObject* graph_json(PyObject*, PyObject* document) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* { return graph_json_text(document); });
}

PyMethodDef functions[] = {
    {"_parse", as_method(parse), METH_FASTCALL | METH_KEYWORDS,
     "_parse(library, layout, max_image_pixels, use_outline, path, options=None, ocr=None)\n--\n\n"
     "One file, GIL released; library None is the built-in backend."},
    {"_parse_bytes", as_method(parse_bytes), METH_FASTCALL | METH_KEYWORDS,
     "_parse_bytes(library, layout, max_image_pixels, use_outline, data, name, options=None, "
     "ocr=None)\n--\n\nOne file's bytes, GIL released."},
    {"_parse_many", as_method(parse_many_files), METH_FASTCALL | METH_KEYWORDS,
     "_parse_many(library, layout, max_image_pixels, use_outline, paths, options=None, "
     "workers=1, ocr=None)\n--\n\n"
     "Files on a pool of threads: a list of Documents and exceptions, in order."},
    {"_graph_json_text", graph_json, METH_O,
     "_graph_json_text(document)\n--\n\nThe canonical compact graph JSON text."},
    {"_markdown", as_method(markdown), METH_FASTCALL | METH_KEYWORDS,
     "_markdown(document, media_dir=None)\n--\n\nMarkdown whose figures link to "
     "<media_dir>/<node id>.png."},
    {"_blocks", blocks, METH_O,
     "_blocks(document)\n--\n\n(sections, blocks): the retrieval blocks chunk() packs."},
};

}  // namespace

PyMethodDef* private_functions() { return functions; }
Py_ssize_t private_function_count() { return std::size(functions); }

namespace {

// A tuple of the entries' names, in order.
template <typename Entries>
Result<PyRef> names_tuple(const Entries& entries) {
  PyRef names(PyTuple_New(static_cast<Py_ssize_t>(std::size(entries))));
  if (!names) return python_error();
  Py_ssize_t index = 0;
  for (const auto& entry : entries) {
    PyRef name = text_object(entry.name);
    if (!name) return python_error();
    PyTuple_SetItem(names.get(), index++, name.release());
  }
  return names;
}

}  // namespace

bool add_private_constants(PyObject* module) {
  auto layouts = names_tuple(vorlin_core::kLayoutNames);
  auto modes = names_tuple(vorlin_core::kOcrModeNames);
  return layouts && modes && PyModule_AddObjectRef(module, "_LAYOUTS", layouts->get()) == 0 &&
         PyModule_AddObjectRef(module, "_OCR_MODES", modes->get()) == 0;
}

}  // namespace vorlin_py
