#include "document.h"

#include <new>
#include <string>

#include "arguments.h"
#include "borrow_flag.h"
#include "boundary.h"
#include "vorlin_core/render/graph_json.h"
#include "vorlin_core/render/markdown.h"

namespace vorlin_py {
namespace {

struct DocumentObject {
  PyObject_HEAD
  BorrowFlag borrow;
  vorlin_core::Document document;
};

DocumentObject* as_document(PyObject* self) { return reinterpret_cast<DocumentObject*>(self); }

// The methods are reachable from Python only through descriptors that check `self`; the check
// here keeps the same promise for any other caller.
Result<DocumentObject*> checked_self(PyObject* self) {
  auto type = document_type();
  if (!type) return python_error();
  if (!PyObject_TypeCheck(self, *type)) {
    return raise_text(PyExc_TypeError, wrong_type_text(self, "Document"));
  }
  return as_document(self);
}

void document_dealloc(PyObject* self) {
  as_document(self)->document.~Document();
  as_document(self)->borrow.~BorrowFlag();
  PyTypeObject* type = Py_TYPE(self);
  reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free))(self);
  Py_DECREF(type);  // instances of heap types own a reference to their type
}

Py_ssize_t document_length(PyObject* self) {
  return guarded<Py_ssize_t>(-1, [&]() -> Py_ssize_t {
    auto document = checked_self(self);
    if (!document) return -1;
    SharedBorrow borrow((*document)->borrow);
    if (!borrow.held()) return -1;
    return static_cast<Py_ssize_t>((*document)->document.pages.size());
  });
}

PyObject* document_repr(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto document = checked_self(self);
    if (!document) return nullptr;
    SharedBorrow borrow((*document)->borrow);
    if (!borrow.held()) return nullptr;
    const vorlin_core::Document& model = (*document)->document;
    const std::string text = "Document(pages=" + std::to_string(model.pages.size()) +
                             ", sha256=" + model.source_sha256 + ")";
    return text_object(text).release();
  });
}

PyObject* to_markdown(PyObject* self, PyObject*) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    auto document = checked_self(self);
    if (!document) return nullptr;
    SharedBorrow borrow((*document)->borrow);
    if (!borrow.held()) return nullptr;
    return text_object(vorlin_core::render_markdown((*document)->document)).release();
  });
}

PyObject* to_graph_json(PyObject* self, PyObject*) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    PyRef text(graph_json_text(self));
    if (!text) return nullptr;
    // Looked up on every call, so that a replaced json.loads is the one used.
    PyRef module_name(PyUnicode_FromString("json"));
    if (!module_name) return nullptr;
    PyRef module(PyImport_Import(module_name.get()));
    if (!module) return nullptr;
    PyRef loads(PyUnicode_FromString("loads"));
    if (!loads) return nullptr;
    return PyObject_CallMethodObjArgs(module.get(), loads.get(), text.get(), nullptr);
  });
}

PyMethodDef methods[] = {
    {"to_markdown", to_markdown, METH_NOARGS,
     "to_markdown($self)\n--\n\nRender this document to GFM Markdown for Vector-RAG ingestion."},
    {"to_graph_json", to_graph_json, METH_NOARGS,
     "to_graph_json($self)\n--\n\nRender this document to the Graph-RAG JSON shape. Returns a "
     "Python\ndict (parsed from the canonical JSON) so consumers can poke at\nnodes / edges "
     "without round-tripping through string parsing."},
    {nullptr, nullptr, 0, nullptr},
};

constexpr const char kDoc[] =
    "Lightweight wrapper around `vorlin_core::Document` that exposes only\n"
    "the two methods the Python side needs.";

PyType_Slot slots[] = {
    {Py_tp_doc, const_cast<char*>(kDoc)},
    {Py_tp_dealloc, reinterpret_cast<void*>(document_dealloc)},
    {Py_tp_repr, reinterpret_cast<void*>(document_repr)},
    {Py_mp_length, reinterpret_cast<void*>(document_length)},
    {Py_tp_methods, methods},
    {0, nullptr},
};

PyType_Spec spec = {
    "vorlin_reader._native.Document",
    sizeof(DocumentObject),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_DISALLOW_INSTANTIATION,
    slots,
};

}  // namespace

PyObject* graph_json_text(PyObject* self) {
  auto document = checked_self(self);
  if (!document) return nullptr;
  SharedBorrow borrow((*document)->borrow);
  if (!borrow.held()) return nullptr;
  auto json = vorlin_core::render_graph_json((*document)->document);
  if (!json) {
    raise_text(PyExc_ValueError, "graph serialization failed: " + json.error());
    return nullptr;
  }
  return text_object(*json).release();
}

PyObject* with_model(PyObject* self,
                     const std::function<PyObject*(const vorlin_core::Document&)>& use) {
  auto document = checked_self(self);
  if (!document) return nullptr;
  SharedBorrow borrow((*document)->borrow);
  if (!borrow.held()) return nullptr;
  return use((*document)->document);
}

Result<PyTypeObject*> document_type() {
  static PyObject* type = nullptr;
  if (type == nullptr) type = PyType_FromSpec(&spec);
  if (type == nullptr) return python_error();
  return reinterpret_cast<PyTypeObject*>(type);
}

Result<PyRef> wrap_document(vorlin_core::Document&& document) {
  auto type = document_type();
  if (!type) return python_error();
  auto allocate = reinterpret_cast<allocfunc>(PyType_GetSlot(*type, Py_tp_alloc));
  PyRef self(allocate(*type, 0));
  if (!self) return python_error();
  new (&as_document(self.get())->borrow) BorrowFlag();
  new (&as_document(self.get())->document) vorlin_core::Document(std::move(document));
  return self;
}

}  // namespace vorlin_py
