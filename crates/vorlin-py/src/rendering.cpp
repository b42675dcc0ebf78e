#include "rendering.h"

#include <array>
#include <charconv>
#include <optional>
#include <string>

#include "arguments.h"
#include "boundary.h"
#include "document.h"
#include "vorlin_core/render/blocks.h"
#include "vorlin_core/render/markdown.h"

namespace vorlin_py {
namespace {

Result<PyRef> heading_tuple(const std::vector<std::string>& headings) {
  PyRef tuple(PyTuple_New(static_cast<Py_ssize_t>(headings.size())));
  if (!tuple) return python_error();
  for (std::size_t i = 0; i < headings.size(); ++i) {
    PyRef text = text_object(headings[i]);
    if (!text) return python_error();
    PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), text.release());
  }
  return tuple;
}

// The double that the float's shortest decimal text names, so that a box reads 699.48474 as it
// does in the graph JSON, not 699.4847412109375.
double shortest(float value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value);
  double result = value;
  std::from_chars(text, written.ptr, result);
  return result;
}

Result<PyRef> block_tuple(const vorlin_core::Block& block) {
  PyRef text = text_object(block.markdown);
  PyRef id = text_object(block.node->id.to_string());
  PyRef kind = text_object(vorlin_core::type_string(block.node->kind));
  if (!text || !id || !kind) return python_error();
  const vorlin_core::BBox& box = block.node->bbox;
  PyRef tuple(Py_BuildValue("(OnkOO(dddd))", text.get(), static_cast<Py_ssize_t>(block.section),
                            static_cast<unsigned long>(block.page), id.get(), kind.get(),
                            shortest(box.x0), shortest(box.y0), shortest(box.x1),
                            shortest(box.y1)));
  if (!tuple) return python_error();
  return tuple;
}

PyObject* blocks_of(const vorlin_core::Document& document) {
  const vorlin_core::Blocks blocks = vorlin_core::document_blocks(document);
  PyRef sections(PyList_New(static_cast<Py_ssize_t>(blocks.sections.size())));
  PyRef items(PyList_New(static_cast<Py_ssize_t>(blocks.blocks.size())));
  if (!sections || !items) return nullptr;
  for (std::size_t i = 0; i < blocks.sections.size(); ++i) {
    auto tuple = heading_tuple(blocks.sections[i]);
    if (!tuple) return nullptr;
    PyList_SetItem(sections.get(), static_cast<Py_ssize_t>(i), tuple->release());
  }
  for (std::size_t i = 0; i < blocks.blocks.size(); ++i) {
    auto tuple = block_tuple(blocks.blocks[i]);
    if (!tuple) return nullptr;
    PyList_SetItem(items.get(), static_cast<Py_ssize_t>(i), tuple->release());
  }
  return PyTuple_Pack(2, sections.get(), items.get());
}

}  // namespace

PyObject* markdown(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    static constexpr std::array<const char*, 2> kNames{"document", "media_dir"};
    std::array<PyObject*, 2> bound{};
    if (!bind_arguments(Signature{"_markdown", kNames, 1}, args, nargs, kwnames, bound)) {
      return nullptr;
    }
    auto media_dir = bound[1] ? to_optional_text(bound[1], "media_dir")
                              : Result<std::optional<std::string>>(std::nullopt);
    if (!media_dir) return nullptr;
    vorlin_core::MarkdownOptions options;
    if (*media_dir) options.figure_mode = vorlin_core::FigureMode::linked(std::move(**media_dir));
    return with_model(bound[0], [&](const vorlin_core::Document& document) {
      return text_object(vorlin_core::render_markdown(document, options)).release();
    });
  });
}

PyObject* blocks(PyObject*, PyObject* document) {
  return guarded<PyObject*>(nullptr, [&]() { return with_model(document, blocks_of); });
}

}  // namespace vorlin_py
