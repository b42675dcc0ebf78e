#include "vorlin_core/pipeline/figure_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "vorlin_core/backend/system_error.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {
namespace {

// Emits message() only when someone listens: the text is not even built otherwise.
template <typename Message>
void warn(spdlog::source_loc location, const Message& message) {
  const auto& logger = native_logger();
  if (!logger->should_log(spdlog::level::warn) || logger->sinks().empty()) return;
  logger->log(location, spdlog::level::warn, "{}", message());
}

#define VORLIN_WARN(message) warn(spdlog::source_loc{__FILE__, __LINE__, SPDLOG_FUNCTION}, message)

// "<what>: " or, when paths are named, "<what> <path>: ".
std::string prefix_of(const FigureOutput& output, const char* what, const std::string& path) {
  return output.name_paths ? std::string(what) + " " + path + ": " : std::string(what) + ": ";
}

// mkdir -p with mode 0777; an existing directory counts as success.
std::error_code create_directories(const std::string& path) {
  if (path.empty()) return {};
  if (path.find('\0') != std::string::npos) return std::make_error_code(std::errc::invalid_argument);
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string prefix = path.substr(0, end);
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return last_system_error();
    if (end == std::string::npos) break;
  }
  struct stat status{};
  if (::stat(path.c_str(), &status) != 0) return last_system_error();
  return S_ISDIR(status.st_mode) ? std::error_code() : std::make_error_code(std::errc::file_exists);
}

// Writes all bytes to a created or truncated file.
std::error_code write_all(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.find('\0') != std::string::npos) return std::make_error_code(std::errc::invalid_argument);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return last_system_error();
  std::error_code error;
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = last_system_error();
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && !error && errno != EINTR) error = last_system_error();
  return error;
}

}  // namespace

void write_figure_image(const FigureOutput& output, const NodeId& id,
                        std::span<const std::uint8_t> bytes) {
  const std::string& folder = output.media_dir;
  if (const std::error_code error = create_directories(folder)) {
    VORLIN_WARN([&] {
      return prefix_of(output, "Failed to create media dir", folder) + system_error_text(error);
    });
    return;
  }
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  path += id.to_string() + ".png";
  if (const std::error_code error = write_all(path, bytes)) {
    VORLIN_WARN([&] {
      return prefix_of(output, "Failed to write figure image", path) + system_error_text(error);
    });
  }
}

void save_figure(const FigureOutput& output, const NodeId& id, const PdfImage& image) {
  const std::uint64_t pixels = std::uint64_t{image.pixel_width} * image.pixel_height;
  if (pixels > output.max_pixels) {
    VORLIN_WARN([&] {
      return "Figure image " + id.to_string() + " not saved: " +
             std::to_string(image.pixel_width) + " x " + std::to_string(image.pixel_height) +
             " pixels exceed the limit of " + std::to_string(output.max_pixels);
    });
    return;
  }
  auto bytes = image.data.bytes();
  if (!bytes) {
    VORLIN_WARN([&] {
      return "Figure image " + id.to_string() + " not saved: " + bytes.error().to_string();
    });
    return;
  }
  write_figure_image(output, id, *bytes);
}

}  // namespace vorlin_core
