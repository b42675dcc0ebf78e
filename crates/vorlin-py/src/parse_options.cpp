#include "parse_options.h"

#include <array>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "arguments.h"
#include "borrow_flag.h"
#include "boundary.h"
#include "quote.h"

namespace vorlin_py {
namespace {

struct ParseOptionsObject {
  PyObject_HEAD
  BorrowFlag borrow;
  vorlin_core::ParseOptions fields;
};

ParseOptionsObject* as_options(PyObject* self) {
  return reinterpret_cast<ParseOptionsObject*>(self);
}

// Field order is the constructor's parameter order and the attribute closure value.
enum class Field : std::intptr_t { Profile, UseIa, MaxConcurrentPages, MediaDir, OllamaEndpoint };

constexpr std::array<const char*, 5> kFieldNames = {
    "profile", "use_ia", "max_concurrent_pages", "media_dir", "ollama_endpoint"};

const char* name_of(Field field) { return kFieldNames[static_cast<std::size_t>(field)]; }

Field field_of(void* closure) {
  return static_cast<Field>(reinterpret_cast<std::intptr_t>(closure));
}

void* closure_of(Field field) {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(field));
}

bool is_known_profile(std::string_view profile) {
  return profile == "fast" || profile == "balanced" || profile == "scientific";
}

template <typename T, typename Slot>
Result<void> store(Result<T> converted, Slot& slot) {
  if (!converted) return python_error();
  slot = std::move(*converted);
  return {};
}

// Converts `value` as the field's parameter does and stores it into `fields`.
Result<void> assign(vorlin_core::ParseOptions& fields, Field field, PyObject* value) {
  const char* name = name_of(field);
  switch (field) {
    case Field::Profile:
      return store(to_text(value, name), fields.profile);
    case Field::UseIa:
      return store(to_flag(value, name), fields.use_ia);
    case Field::MaxConcurrentPages:
      return store(to_optional_count(value, name), fields.max_concurrent_pages);
    case Field::MediaDir:
      return store(to_optional_text(value, name), fields.media_dir);
    case Field::OllamaEndpoint:
      return store(to_text(value, name), fields.ollama_endpoint);
  }
  throw std::logic_error("unknown ParseOptions field");
}

void move_field(vorlin_core::ParseOptions& from, vorlin_core::ParseOptions& to, Field field) {
  switch (field) {
    case Field::Profile:
      to.profile = std::move(from.profile);
      return;
    case Field::UseIa:
      to.use_ia = from.use_ia;
      return;
    case Field::MaxConcurrentPages:
      to.max_concurrent_pages = from.max_concurrent_pages;
      return;
    case Field::MediaDir:
      to.media_dir = std::move(from.media_dir);
      return;
    case Field::OllamaEndpoint:
      to.ollama_endpoint = std::move(from.ollama_endpoint);
      return;
  }
  throw std::logic_error("unknown ParseOptions field");
}

PyObject* new_text(std::string_view text) {
  return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
}

PyObject* read(const vorlin_core::ParseOptions& fields, Field field) {
  switch (field) {
    case Field::Profile:
      return new_text(fields.profile);
    case Field::UseIa:
      return PyBool_FromLong(fields.use_ia ? 1 : 0);
    case Field::MaxConcurrentPages:
      if (!fields.max_concurrent_pages) Py_RETURN_NONE;
      return PyLong_FromUnsignedLongLong(*fields.max_concurrent_pages);
    case Field::MediaDir:
      if (!fields.media_dir) Py_RETURN_NONE;
      return new_text(*fields.media_dir);
    case Field::OllamaEndpoint:
      return new_text(fields.ollama_endpoint);
  }
  throw std::logic_error("unknown ParseOptions field");
}

std::string representation(const vorlin_core::ParseOptions& fields) {
  std::string text = "ParseOptions(profile=" + quoted(fields.profile);
  text += fields.use_ia ? ", use_ia=true" : ", use_ia=false";
  text += ", max_concurrent_pages=";
  text += fields.max_concurrent_pages
              ? "Some(" + std::to_string(*fields.max_concurrent_pages) + ")"
              : std::string("None");
  text += ", ollama_endpoint=" + quoted(fields.ollama_endpoint) + ")";
  return text;
}

PyObject* options_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    static constexpr Signature kSignature{"ParseOptions", kFieldNames, 0};
    std::array<PyObject*, kFieldNames.size()> bound{};
    if (!bind_arguments(kSignature, args, kwargs, bound)) return nullptr;
    vorlin_core::ParseOptions fields;
    for (std::size_t i = 0; i < bound.size(); ++i) {
      if (bound[i] == nullptr) continue;
      if (!assign(fields, static_cast<Field>(i), bound[i])) return nullptr;
    }
    if (!is_known_profile(fields.profile)) {
      raise_text(PyExc_ValueError, "profile must be one of fast / balanced / scientific, got " +
                                       quoted(fields.profile));
      return nullptr;
    }
    auto allocate = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    PyObject* self = allocate(type, 0);
    if (self == nullptr) return nullptr;
    new (&as_options(self)->borrow) BorrowFlag();
    new (&as_options(self)->fields) vorlin_core::ParseOptions(std::move(fields));
    return self;
  });
}

void options_dealloc(PyObject* self) {
  as_options(self)->fields.~ParseOptions();
  as_options(self)->borrow.~BorrowFlag();
  PyTypeObject* type = Py_TYPE(self);
  reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free))(self);
  Py_DECREF(type);  // instances of heap types own a reference to their type
}

PyObject* options_repr(PyObject* self) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    SharedBorrow borrow(as_options(self)->borrow);
    if (!borrow.held()) return nullptr;
    return text_object(representation(as_options(self)->fields)).release();
  });
}

PyObject* get_field(PyObject* self, void* closure) {
  return guarded<PyObject*>(nullptr, [&]() -> PyObject* {
    SharedBorrow borrow(as_options(self)->borrow);
    if (!borrow.held()) return nullptr;
    return read(as_options(self)->fields, field_of(closure));
  });
}

int set_field(PyObject* self, PyObject* value, void* closure) {
  return guarded(-1, [&]() -> int {
    if (value == nullptr) {
      PyErr_SetString(PyExc_AttributeError, "property has no deleter");
      return -1;
    }
    // Convert into a scratch record first, so that a refused value changes nothing and no
    // Python code runs while the object is lent out.
    vorlin_core::ParseOptions scratch;
    const Field field = field_of(closure);
    if (!assign(scratch, field, value)) return -1;
    ExclusiveBorrow borrow(as_options(self)->borrow);
    if (!borrow.held()) return -1;
    move_field(scratch, as_options(self)->fields, field);
    return 0;
  });
}

PyGetSetDef getsets[] = {
    {"profile", get_field, set_field, nullptr, closure_of(Field::Profile)},
    {"use_ia", get_field, set_field, nullptr, closure_of(Field::UseIa)},
    {"max_concurrent_pages", get_field, set_field, nullptr, closure_of(Field::MaxConcurrentPages)},
    {"media_dir", get_field, set_field, nullptr, closure_of(Field::MediaDir)},
    {"ollama_endpoint", get_field, set_field, nullptr, closure_of(Field::OllamaEndpoint)},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

constexpr const char kDoc[] =
    "ParseOptions(profile=..., use_ia=True, max_concurrent_pages=None, media_dir=None, "
    "ollama_endpoint=...)\n--\n\n"
    "Caller-tunable knobs for [`parse`] / [`parse_batch`].\n\n"
    "All fields default to the same values as the CLI subcommand (Plan \u00a714.T9.3).";

PyType_Slot slots[] = {
    {Py_tp_doc, const_cast<char*>(kDoc)},
    {Py_tp_new, reinterpret_cast<void*>(options_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(options_dealloc)},
    {Py_tp_repr, reinterpret_cast<void*>(options_repr)},
    {Py_tp_getset, getsets},
    {0, nullptr},
};

PyType_Spec spec = {
    "vorlin_reader._native.ParseOptions",
    sizeof(ParseOptionsObject),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
    slots,
};

}  // namespace

Result<PyTypeObject*> parse_options_type() {
  static PyObject* type = nullptr;
  if (type == nullptr) type = PyType_FromSpec(&spec);
  if (type == nullptr) return python_error();
  return reinterpret_cast<PyTypeObject*>(type);
}

Result<vorlin_core::ParseOptions> options_argument(PyObject* object, const char* argument) {
  if (object == nullptr || object == Py_None) return vorlin_core::ParseOptions{};
  auto type = parse_options_type();
  if (!type) return python_error();
  if (!PyObject_TypeCheck(object, *type)) {
    raise_wrong_type(object, "ParseOptions", argument);
    return python_error();
  }
  SharedBorrow borrow(as_options(object)->borrow);
  if (!borrow.held()) return python_error();
  return as_options(object)->fields;
}

}  // namespace vorlin_py
