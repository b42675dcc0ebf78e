#pragma once
// Private renderings of a Document for the package: Markdown that links saved figures, and the
// retrieval blocks that vorlin_reader.chunk packs into chunks.

#include <Python.h>

namespace vorlin_py {

// _markdown(document, media_dir=None): figures link to <media_dir>/<node id>.png when media_dir is
// a str, and are placeholders otherwise.
PyObject* markdown(PyObject* module, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames);

// _blocks(document) -> (sections, blocks): sections a list of heading tuples (outermost first),
// blocks a list of (markdown, section index, page, node id, kind, (x0, y0, x1, y1)).
PyObject* blocks(PyObject* module, PyObject* document);

}  // namespace vorlin_py
