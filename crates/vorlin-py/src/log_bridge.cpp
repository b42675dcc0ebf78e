#include "log_bridge.h"

#include <Python.h>
#include <spdlog/sinks/sink.h>

#include <memory>
#include <string_view>

#include "boundary.h"
#include "python_error.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_py {
namespace {

constexpr const char* kPythonLoggerName = "vorlin_reader._native";

const char* method_for(spdlog::level::level_enum level) {
  switch (level) {
    case spdlog::level::trace:
    case spdlog::level::debug:
      return "debug";
    case spdlog::level::info:
      return "info";
    case spdlog::level::warn:
      return "warning";
    case spdlog::level::err:
      return "error";
    default:
      return "critical";
  }
}

// Sends one event to logging.getLogger(kPythonLoggerName). A failure inside Python's logging
// cannot propagate through the C++ code that logged, so it is reported as unraisable; an
// exception that was already pending stays pending.
void forward(spdlog::level::level_enum level, std::string_view text) {
  PyObject* pending_type = nullptr;
  PyObject* pending_value = nullptr;
  PyObject* pending_traceback = nullptr;
  PyErr_Fetch(&pending_type, &pending_value, &pending_traceback);
  bool sent = false;
  if (PyRef logging{PyImport_ImportModule("logging")}) {
    if (PyRef logger{PyObject_CallMethod(logging.get(), "getLogger", "s", kPythonLoggerName)}) {
      if (PyRef message = text_object(text)) {
        PyRef result(PyObject_CallMethod(logger.get(), method_for(level), "O", message.get()));
        sent = static_cast<bool>(result);
      }
    }
  }
  if (!sent) PyErr_WriteUnraisable(nullptr);
  PyErr_Restore(pending_type, pending_value, pending_traceback);
}

// No mutex: every event is forwarded under the GIL, and a lock would deadlock when a logging
// handler parses again and re-enters the sink.
class PythonLoggingSink final : public spdlog::sinks::sink {
 public:
  void log(const spdlog::details::log_msg& event) override {
    // Parses run with the GIL released, some on worker threads: events from them are forwarded
    // while a module call is in progress, which keeps the interpreter alive meanwhile.
    if (!entry_point_running()) return;
    const PyGILState_STATE state = PyGILState_Ensure();
    try {
      forward(event.level, std::string_view(event.payload.data(), event.payload.size()));
    } catch (...) {
      // Losing one event beats spdlog printing its own error to stderr.
    }
    PyGILState_Release(state);
  }
  void flush() override {}
  void set_pattern(const std::string&) override {}
  void set_formatter(std::unique_ptr<spdlog::formatter>) override {}
};

}  // namespace

void attach_log_bridge() {
  static bool attached = false;
  if (attached) return;
  vorlin_core::native_logger()->sinks().push_back(std::make_shared<PythonLoggingSink>());
  attached = true;
}

}  // namespace vorlin_py
