// Looking up the entry points of a library loaded at run time (PDFium, Tesseract).
#pragma once

#include <dlfcn.h>

#include <string>

namespace vorlin_core {

// The loader's last message, or `fallback` when it has none.
inline std::string loader_message(const char* fallback) {
  const char* message = dlerror();
  return message ? message : fallback;
}

// Looks up `name` into `slot`; on failure records the loader's message once.
template <typename Function>
void bind_symbol(void* handle, const char* name, Function& slot, std::string& failure) {
  if (!failure.empty()) return;
  dlerror();  // clear any stale message so the next one is ours
  slot = reinterpret_cast<Function>(dlsym(handle, name));
  if (!slot) failure = loader_message((std::string("undefined symbol: ") + name).c_str());
}

}  // namespace vorlin_core
