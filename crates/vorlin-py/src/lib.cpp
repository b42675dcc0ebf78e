#include <Python.h>

namespace {

PyObject* version(PyObject*, PyObject*) { return PyUnicode_FromString("0.1.1"); }

PyMethodDef module_methods[] = {
    {"version", version, METH_NOARGS, "version()\n--\n\nThe package version."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef_Slot module_slots[] = {{0, nullptr}};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT, "_native", nullptr, 0, module_methods, module_slots,
    nullptr, nullptr, nullptr,
};

}  // namespace

PyMODINIT_FUNC PyInit__native() { return PyModuleDef_Init(&module_def); }
