#include "platform/DataFiles.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quorvex {

bool IsBareFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  // Both separators count: files from the original platform write folders with a backslash.
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string RefusedNameMessage(const std::string& dataFile, const std::string& name) {
  return dataFile + ": refused file name \"" + name + "\" (only a bare file name in the program folder is allowed)";
}

int OpenRegularFile(const fs::path& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "Cannot open " + path.string() + ": " + why;
    return -1;
  };
  // Look before opening: opening a named pipe or a device may block or have effects of its own.
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) return fail(errno == ENOENT ? "file not found" : std::strerror(errno));
  if (!S_ISREG(before.st_mode)) return fail("not a regular file");
  // Without blocking, in case the name was swapped for a pipe in between; checked again once open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fail(std::strerror(errno));
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return fail("not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool ReadTextLines(const fs::path& path, size_t maxLines, std::vector<std::string>* lines, std::string* error) {
  lines->clear();
  const int fd = OpenRegularFile(path, error);
  if (fd < 0) return false;
  std::array<char, 65536> buffer;
  std::string current;
  bool pending = false;     // the current line has begun
  bool afterCr = false;     // a LF right after a CR ends nothing more
  bool failed = false;
  while (lines->size() < maxLines) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      failed = true;
      break;
    }
    if (n == 0) break;
    for (ssize_t i = 0; i < n && lines->size() < maxLines; ++i) {
      const char c = buffer[static_cast<size_t>(i)];
      if (c == '\n' && afterCr) {
        afterCr = false;
        continue;
      }
      afterCr = c == '\r';
      if (c == '\r' || c == '\n') {
        lines->push_back(std::move(current));
        current.clear();
        pending = false;
      } else {
        if (current.size() < kMaxLineLength) current += c;
        pending = true;
      }
    }
  }
  if (failed && error) *error = "Cannot read " + path.string() + ": " + std::strerror(errno);
  ::close(fd);
  if (failed) return false;
  if (pending && lines->size() < maxLines) lines->push_back(std::move(current));
  return true;
}

bool ReadFileBytes(const fs::path& path, size_t maxBytes, std::string* bytes, std::string* error) {
  const int fd = OpenRegularFile(path, error);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
    if (error) *error = "Cannot read " + path.string() + ": the file is larger than " + std::to_string(maxBytes) + " bytes";
    ::close(fd);
    return false;
  }
  std::string out(static_cast<size_t>(st.st_size), '\0');
  size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = "Cannot read " + path.string() + ": " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;  // the file shrank while being read
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  out.resize(done);
  *bytes = std::move(out);
  return true;
}

namespace {

// The process id of "<name>.tmp-<pid>", 0 when the name is not one of our temporary files.
long TemporaryFileOwner(const std::string& name) {
  const size_t at = name.rfind(".tmp-");
  if (at == std::string::npos || at == 0) return 0;
  const std::string digits = name.substr(at + 5);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stol(digits);
}

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

}  // namespace

int RemoveStaleTemporaryFiles(const fs::path& dir) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc) || it->is_symlink(typeEc)) continue;
    const long pid = TemporaryFileOwner(it->path().filename().string());
    // A program that still runs may be writing it right now.
    if (pid <= 0 || ProcessRuns(pid)) continue;
    std::error_code removeEc;
    if (fs::remove(it->path(), removeEc)) ++removed;
  }
  return removed;
}

}  // namespace quorvex
