#include "vorlin_core/backend/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "vorlin_core/backend/sha256.h"
#include "vorlin_core/backend/system_error.h"

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

// Reads up to `size` bytes, retrying interrupted calls; -1 with errno on failure.
ssize_t read_some(int fd, std::uint8_t* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace

std::expected<SourceBytes, std::error_code> read_source(const std::string& path, bool keep_bytes) {
  if (path.find('\0') != std::string::npos) {
    return std::unexpected(std::make_error_code(std::errc::invalid_argument));
  }
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.fd < 0) return std::unexpected(last_system_error());
  struct stat status{};
  if (::fstat(file.fd, &status) != 0) return std::unexpected(last_system_error());
  if (S_ISDIR(status.st_mode)) return std::unexpected(std::error_code(EISDIR, std::system_category()));
  if (!S_ISREG(status.st_mode)) return std::unexpected(make_error_code(SourceError::NotRegularFile));

  const auto size = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
  SourceBytes source;
  Sha256 digest;
  std::vector<std::uint8_t> chunk;
  if (keep_bytes) {
    source.bytes.resize(size);
  } else {
    chunk.resize(std::min(size, kChunkSize));
  }
  std::size_t done = 0;
  while (done < size) {
    const std::size_t want = std::min(size - done, kChunkSize);
    std::uint8_t* into = keep_bytes ? source.bytes.data() + done : chunk.data();
    const ssize_t got = read_some(file.fd, into, want);
    if (got < 0) return std::unexpected(last_system_error());
    if (got == 0) break;  // the file shrank since fstat
    digest.update({into, static_cast<std::size_t>(got)});
    done += static_cast<std::size_t>(got);
  }
  source.bytes.resize(keep_bytes ? done : 0);
  source.sha256 = digest.hex();
  return source;
}

}  // namespace vorlin_core
