#include "vorlin_core/pipeline/parse_batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vorlin_core {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

BatchOutcome parse_one(const std::string& path, const ParseOptions& options,
                       const PdfBackend& backend, const PipelineSettings& settings) {
  try {
    auto document = parse_document(path, options, backend, settings);
    if (document) return std::move(*document);
    return std::move(document.error());
  } catch (...) {
    return std::current_exception();
  }
}

}  // namespace

std::vector<BatchOutcome> parse_batch(std::span<const std::string> paths,
                                      const ParseOptions& options, const PdfBackend& backend,
                                      const PipelineSettings& settings, std::size_t workers,
                                      const std::function<bool()>& keep_going) {
  std::vector<BatchOutcome> outcomes(paths.size());
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  PipelineSettings worker_settings = settings;
  worker_settings.interrupted = [&stop] { return stop.load(std::memory_order_relaxed); };

  std::mutex mutex;
  std::condition_variable finished;
  std::size_t running = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(paths.size(), 1));
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < paths.size();) {
      outcomes[i] = stop.load() ? BatchOutcome(ParseFailure{ParseFailure::Kind::Interrupted,
                                                            "interrupted"})
                                : parse_one(paths[i], options, backend, worker_settings);
    }
    const std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  };

  std::vector<std::jthread> threads;
  threads.reserve(running);
  for (std::size_t t = running; t > 0; --t) threads.emplace_back(work);
  std::unique_lock lock(mutex);
  while (!finished.wait_for(lock, kPollInterval, [&] { return running == 0; })) {
    lock.unlock();
    if (!stop.load() && keep_going && !keep_going()) stop.store(true);
    lock.lock();
  }
  return outcomes;
}

}  // namespace vorlin_core
