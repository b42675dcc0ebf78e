#pragma once
// An owned reference to a Python object: the handle drops it on destruction, release() hands it
// on. Every Python object the binding creates lives in one of these, so error paths need no
// manual Py_DECREF. Use only while holding the GIL.

#include <Python.h>

#include <utility>

namespace vorlin_py {

class PyRef {
 public:
  PyRef() = default;
  // Takes over a new reference (possibly null, when the call that produced it failed).
  explicit PyRef(PyObject* owned) : object_(owned) {}
  // Adds a reference to an object the caller only borrows.
  static PyRef borrow(PyObject* borrowed) {
    Py_XINCREF(borrowed);
    return PyRef(borrowed);
  }

  PyRef(PyRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  PyRef& operator=(PyRef&& other) noexcept {
    PyRef(std::move(other)).swap(*this);
    return *this;
  }
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  ~PyRef() { Py_XDECREF(object_); }

  PyObject* get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // Hands the reference to the caller (for returning to the interpreter).
  PyObject* release() { return std::exchange(object_, nullptr); }
  void swap(PyRef& other) noexcept { std::swap(object_, other.object_); }

 private:
  PyObject* object_ = nullptr;
};

}  // namespace vorlin_py
