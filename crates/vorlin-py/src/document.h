#pragma once
// The Python class Document: owns one parsed vorlin_core::Document and offers its page count,
// a short representation, Markdown and the graph as a dict. Python code cannot create one.

#include <Python.h>

#include <functional>

#include "python_error.h"
#include "vorlin_core/model/document.h"

namespace vorlin_py {

// The class, created on first use and shared by every import in the process.
Result<PyTypeObject*> document_type();

// A new Document object that takes ownership of `document`.
Result<PyRef> wrap_document(vorlin_core::Document&& document);

// The canonical compact graph JSON text of a Document object, as a new str; nullptr with a
// Python error set when `self` is not a Document or the writer fails.
PyObject* graph_json_text(PyObject* self);

// `use` applied to the model of a Document object, held under a shared borrow meanwhile; nullptr
// with a Python error set when `self` is not a Document (or `use` fails).
PyObject* with_model(PyObject* self,
                     const std::function<PyObject*(const vorlin_core::Document&)>& use);

}  // namespace vorlin_py
