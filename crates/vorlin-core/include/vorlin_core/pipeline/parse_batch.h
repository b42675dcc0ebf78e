#pragma once
// Many PDFs on a pool of threads. Each file is parsed start to end on one worker, exactly as
// parse_document would on the calling thread, so the documents are the same as a sequential
// run's; only their node ids differ, as between any two parses.

#include <cstddef>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "vorlin_core/pipeline/parse_document.h"

namespace vorlin_core {

// A document, a failure, or the fault (exhausted memory, a broken invariant) that ended this one
// file's parse without touching the others.
using BatchOutcome = std::variant<Document, ParseFailure, std::exception_ptr>;

// Parses `paths` on min(workers, paths.size()) threads (at least one); outcome i is paths[i]'s.
// The calling thread only waits, calling `keep_going` about every 100 ms; when it returns false,
// running parses stop at their next page and the remaining files are not started, all reported
// as Interrupted. Memory held at once is bounded by the workers, not by the number of paths.
std::vector<BatchOutcome> parse_batch(std::span<const std::string> paths,
                                      const ParseOptions& options, const PdfBackend& backend,
                                      const PipelineSettings& settings, std::size_t workers,
                                      const std::function<bool()>& keep_going);

}  // namespace vorlin_core
