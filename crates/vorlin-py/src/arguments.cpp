#include "arguments.h"

#include <algorithm>
#include <string_view>

#include "py_ref.h"

namespace vorlin_py {
namespace {

void raise_type_error(const std::string& message) {
  PyErr_SetString(PyExc_TypeError, message.c_str());
}

std::string argument_prefix(const char* argument) {
  return std::string("argument '") + argument + "': ";
}

std::string type_name(PyObject* object) {
  PyRef name(PyType_GetName(Py_TYPE(object)));
  Py_ssize_t size = 0;
  const char* text = name ? PyUnicode_AsUTF8AndSize(name.get(), &size) : nullptr;
  if (text == nullptr) {
    PyErr_Clear();  // a type whose name cannot be read still deserves the TypeError
    return "?";
  }
  return std::string(text, static_cast<std::size_t>(size));
}

// A TypeError raised by the interpreter while converting (an __index__ or iteration failure)
// gets the argument prefix; any other exception passes unchanged, like OverflowError.
void prefix_type_error(const char* argument) {
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  PyRef owned_type(type), owned_value(value), owned_traceback(traceback);
  if (type != PyExc_TypeError || value == nullptr) {
    PyErr_Restore(owned_type.release(), owned_value.release(), owned_traceback.release());
    return;
  }
  PyRef text(PyObject_Str(value));
  if (!text) return;
  PyRef message(PyUnicode_FromFormat("%s%U", argument_prefix(argument).c_str(), text.get()));
  if (!message) return;
  PyRef prefixed(PyObject_CallFunctionObjArgs(PyExc_TypeError, message.get(), nullptr));
  if (!prefixed) return;
  PyException_SetCause(prefixed.get(), owned_value.release());  // steals the reference
  PyErr_SetObject(PyExc_TypeError, prefixed.get());
}

Result<std::string> utf8_of(PyObject* text) {
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(text, &size);
  if (data == nullptr) return python_error();  // lone surrogates: UnicodeEncodeError as raised
  return std::string(data, static_cast<std::size_t>(size));
}

bool is_numpy_bool(PyObject* object) {
  auto* type = reinterpret_cast<PyObject*>(Py_TYPE(object));
  PyRef module(PyObject_GetAttrString(type, "__module__"));
  PyRef name(module ? PyType_GetName(Py_TYPE(object)) : nullptr);
  if (!name) {
    PyErr_Clear();
    return false;
  }
  return PyUnicode_Check(module.get()) &&
         PyUnicode_CompareWithASCIIString(module.get(), "numpy") == 0 &&
         (PyUnicode_CompareWithASCIIString(name.get(), "bool_") == 0 ||
          PyUnicode_CompareWithASCIIString(name.get(), "bool") == 0);
}

// Puts arguments into parameter slots with the interpreter's own checks and wording.
class Binder {
 public:
  Binder(const Signature& signature, std::span<PyObject*> bound)
      : signature_(signature), bound_(bound) {
    std::fill(bound_.begin(), bound_.end(), nullptr);
  }

  Result<void> positional(std::span<PyObject* const> args) {
    const std::size_t count = signature_.names.size();
    if (args.size() > count) {
      const std::size_t optional = count - signature_.required;
      const std::string takes = optional > 0 ? "from " + std::to_string(signature_.required) +
                                                   " to " + std::to_string(count)
                                             : std::to_string(count);
      const bool plural = optional > 0 || count != 1;
      raise_type_error(std::string(signature_.function) + "() takes " + takes +
                       " positional argument" + (plural ? "s" : "") + " but " +
                       std::to_string(args.size()) + (args.size() == 1 ? " was" : " were") +
                       " given");
      return python_error();
    }
    std::copy(args.begin(), args.end(), bound_.begin());
    return {};
  }

  Result<void> keyword(PyObject* name, PyObject* value) {
    if (!PyUnicode_Check(name)) {
      raise_type_error("keywords must be strings");
      return python_error();
    }
    for (std::size_t i = 0; i < signature_.names.size(); ++i) {
      if (PyUnicode_CompareWithASCIIString(name, signature_.names[i]) != 0) continue;
      if (bound_[i] != nullptr) {
        raise_type_error(std::string(signature_.function) +
                         "() got multiple values for argument '" + signature_.names[i] + "'");
        return python_error();
      }
      bound_[i] = value;
      return {};
    }
    PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%U'",
                 signature_.function, name);
    return python_error();
  }

  Result<void> finish() {
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < signature_.required; ++i) {
      if (bound_[i] == nullptr) missing.push_back(std::string("'") + signature_.names[i] + "'");
    }
    if (missing.empty()) return {};
    std::string listed;
    for (std::size_t i = 0; i < missing.size(); ++i) {
      if (i > 0) {
        listed += missing.size() == 2 ? " and " : (i + 1 == missing.size() ? ", and " : ", ");
      }
      listed += missing[i];
    }
    raise_type_error(std::string(signature_.function) + "() missing " +
                     std::to_string(missing.size()) + " required positional argument" +
                     (missing.size() == 1 ? "" : "s") + ": " + listed);
    return python_error();
  }

 private:
  const Signature& signature_;
  std::span<PyObject*> bound_;
};

}  // namespace

Result<void> bind_arguments(const Signature& signature, PyObject* const* args, Py_ssize_t nargs,
                            PyObject* kwnames, std::span<PyObject*> bound) {
  Binder binder(signature, bound);
  if (auto done = binder.positional({args, static_cast<std::size_t>(nargs)}); !done) return done;
  const Py_ssize_t keywords = kwnames != nullptr ? PyTuple_Size(kwnames) : 0;
  for (Py_ssize_t i = 0; i < keywords; ++i) {
    PyObject* name = PyTuple_GetItem(kwnames, i);
    if (name == nullptr) return python_error();
    if (auto done = binder.keyword(name, args[nargs + i]); !done) return done;
  }
  return binder.finish();
}

Result<void> bind_arguments(const Signature& signature, PyObject* args, PyObject* kwargs,
                            std::span<PyObject*> bound) {
  const Py_ssize_t count = PyTuple_Size(args);
  if (count < 0) return python_error();
  std::vector<PyObject*> positional(static_cast<std::size_t>(count));
  for (Py_ssize_t i = 0; i < count; ++i) {
    positional[static_cast<std::size_t>(i)] = PyTuple_GetItem(args, i);
  }
  Binder binder(signature, bound);
  if (auto done = binder.positional(positional); !done) return done;
  if (kwargs != nullptr) {
    Py_ssize_t position = 0;
    PyObject* name = nullptr;
    PyObject* value = nullptr;
    while (PyDict_Next(kwargs, &position, &name, &value)) {
      if (auto done = binder.keyword(name, value); !done) return done;
    }
  }
  return binder.finish();
}

std::string wrong_type_text(PyObject* object, const char* expected) {
  if (object == Py_None) return std::string("'None' is not an instance of '") + expected + "'";
  return "'" + type_name(object) + "' object is not an instance of '" + expected + "'";
}

void raise_wrong_type(PyObject* object, const char* expected, const char* argument) {
  raise_type_error(argument_prefix(argument) + wrong_type_text(object, expected));
}

Result<std::string> to_text(PyObject* object, const char* argument) {
  if (!PyUnicode_Check(object)) {
    raise_wrong_type(object, "str", argument);
    return python_error();
  }
  return utf8_of(object);
}

Result<std::optional<std::string>> to_optional_text(PyObject* object, const char* argument) {
  if (object == Py_None) return std::optional<std::string>();
  return to_text(object, argument);
}

Result<bool> to_flag(PyObject* object, const char* argument) {
  if (PyBool_Check(object)) return object == Py_True;
  if (is_numpy_bool(object)) {
    const int truth = PyObject_IsTrue(object);
    if (truth < 0) {
      prefix_type_error(argument);
      return python_error();
    }
    return truth == 1;
  }
  raise_wrong_type(object, "bool", argument);
  return python_error();
}

Result<std::optional<std::uint64_t>> to_optional_count(PyObject* object, const char* argument) {
  if (object == Py_None) return std::optional<std::uint64_t>();
  PyRef integer(PyNumber_Index(object));
  if (!integer) {
    prefix_type_error(argument);
    return python_error();
  }
  const unsigned long long value = PyLong_AsUnsignedLongLong(integer.get());
  if (value == static_cast<unsigned long long>(-1) && PyErr_Occurred() != nullptr) {
    prefix_type_error(argument);
    return python_error();
  }
  return std::optional<std::uint64_t>(value);
}

Result<std::vector<std::string>> to_text_list(PyObject* object, const char* argument) {
  if (PyUnicode_Check(object)) {
    raise_type_error(argument_prefix(argument) + "Can't extract `str` to `Vec`");
    return python_error();
  }
  if (!PySequence_Check(object)) {
    raise_wrong_type(object, "Sequence", argument);
    return python_error();
  }
  std::vector<std::string> texts;
  // The length is only a hint; a failing or absurd __len__ must not decide anything.
  const Py_ssize_t hint = PyObject_Size(object);
  if (hint < 0) PyErr_Clear();
  texts.reserve(static_cast<std::size_t>(std::clamp<Py_ssize_t>(hint, 0, 1 << 16)));
  PyRef iterator(PyObject_GetIter(object));
  if (!iterator) {
    prefix_type_error(argument);
    return python_error();
  }
  while (PyRef item{PyIter_Next(iterator.get())}) {
    if (!PyUnicode_Check(item.get())) {
      raise_wrong_type(item.get(), "str", argument);
      return python_error();
    }
    auto text = utf8_of(item.get());
    if (!text) return python_error();
    texts.push_back(std::move(*text));
  }
  if (PyErr_Occurred() != nullptr) {
    prefix_type_error(argument);
    return python_error();
  }
  return texts;
}

}  // namespace vorlin_py
