#pragma once
// Parsing with the GIL released, and Ctrl-C while a parse runs.

#include <Python.h>

namespace vorlin_py {

// Releases the GIL for the scope's lifetime: other Python threads run while a document is parsed.
class GilReleased {
 public:
  GilReleased() : saved_(PyEval_SaveThread()) {}
  ~GilReleased() { PyEval_RestoreThread(saved_); }
  GilReleased(const GilReleased&) = delete;
  GilReleased& operator=(const GilReleased&) = delete;

 private:
  PyThreadState* saved_;
};

// Runs Python's pending signal handlers (KeyboardInterrupt for Ctrl-C) at most every 50 ms, with
// or without the GIL held; true when a handler raised, leaving its exception set on this thread.
bool signal_raised();

}  // namespace vorlin_py
