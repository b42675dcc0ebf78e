#include "vorlin_core/backend/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vorlin_core {
namespace {

constexpr std::size_t kChunkSize = 1 << 20;

// Closes the descriptor on every path out.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  int fd;
};

std::expected<FileDescriptor, int> open_for_reading(const std::string& path) {
  // A path with an embedded NUL cannot name a file.
  if (path.find('\0') != std::string::npos) return std::unexpected(EINVAL);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::unexpected(errno);
  return FileDescriptor(fd);
}

// Reads up to `size` bytes, retrying interrupted calls; -1 with errno on failure.
ssize_t read_some(int fd, std::uint8_t* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace

std::expected<std::vector<std::uint8_t>, int> read_file(const std::string& path) {
  auto file = open_for_reading(path);
  if (!file) return std::unexpected(file.error());
  std::vector<std::uint8_t> bytes;
  struct stat status{};
  if (::fstat(file->fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(status.st_size));
  }
  std::size_t used = 0;
  for (;;) {
    if (bytes.size() - used < kChunkSize / 4) bytes.resize(used + kChunkSize);
    const ssize_t got = read_some(file->fd, bytes.data() + used, bytes.size() - used);
    if (got < 0) return std::unexpected(errno);
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  bytes.shrink_to_fit();
  return bytes;
}

std::expected<void, int> read_file_chunks(
    const std::string& path, const std::function<void(std::span<const std::uint8_t>)>& consume) {
  auto file = open_for_reading(path);
  if (!file) return std::unexpected(file.error());
  std::vector<std::uint8_t> chunk(kChunkSize);
  for (;;) {
    const ssize_t got = read_some(file->fd, chunk.data(), chunk.size());
    if (got < 0) return std::unexpected(errno);
    if (got == 0) return {};
    consume(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(got)));
  }
}

}  // namespace vorlin_core
