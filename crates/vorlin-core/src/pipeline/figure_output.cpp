#include "vorlin_core/pipeline/figure_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "vorlin_core/backend/system_error.h"
#include "vorlin_core/pipeline/log.h"

namespace vorlin_core {
namespace {

// Emits "<prefix><system error text>" only when someone listens: the text is
// not even built otherwise.
void warn_os_error(spdlog::source_loc location, const char* prefix, int error_number) {
  const auto& logger = native_logger();
  if (!logger->should_log(spdlog::level::warn) || logger->sinks().empty()) return;
  logger->log(location, spdlog::level::warn, "{}{}", prefix, system_error_text(error_number));
}

#define VORLIN_WARN_OS_ERROR(prefix, error_number) \
  warn_os_error(spdlog::source_loc{__FILE__, __LINE__, SPDLOG_FUNCTION}, prefix, error_number)

// mkdir -p with mode 0777; an existing directory counts as success. Returns errno or 0.
int create_directories(const std::string& path) {
  if (path.empty()) return 0;
  if (path.find('\0') != std::string::npos) return EINVAL;
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string prefix = path.substr(0, end);
    if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return errno;
    if (end == std::string::npos) break;
  }
  struct stat status{};
  if (::stat(path.c_str(), &status) != 0) return errno;
  return S_ISDIR(status.st_mode) ? 0 : EEXIST;
}

// Writes all bytes to a created or truncated file; returns errno or 0.
int write_all(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.find('\0') != std::string::npos) return EINVAL;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int error = 0;
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

}  // namespace

void write_figure_image(const std::optional<std::string>& media_dir, const NodeId& id,
                        std::span<const std::uint8_t> bytes) {
  if (!media_dir) return;
  if (const int error = create_directories(*media_dir); error != 0) {
    VORLIN_WARN_OS_ERROR("Failed to create media dir: ", error);
    return;
  }
  std::string path = *media_dir;
  if (!path.empty() && path.back() != '/') path.push_back('/');
  path += id.to_string() + ".png";
  if (const int error = write_all(path, bytes); error != 0) {
    VORLIN_WARN_OS_ERROR("Failed to write figure image: ", error);
  }
}

}  // namespace vorlin_core
