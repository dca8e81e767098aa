#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DataFiles.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  const std::string la = lower(a), lb = lower(b);
  if (la != lb) return la < lb;
  return a < b;
}

std::vector<std::string> regularFiles(const fs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (it->is_regular_file(typeEc)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), lessIgnoringCase);
  return names;
}

}  // namespace

fs::path ResolveFileName(const fs::path& dir, const std::string& name) {
  const fs::path exact = dir / name;
  std::error_code ec;
  if (name.empty() || fs::exists(exact, ec)) return exact;
  // Only a bare name is looked up without regard to case; a name with folders is taken as it stands.
  if (fs::path(name).has_parent_path()) return exact;
  const std::string wanted = lower(name);
  for (const std::string& entry : regularFiles(dir)) {
    if (lower(entry) == wanted) return dir / entry;
  }
  return exact;
}

std::vector<std::string> ListFilesWithExtension(const fs::path& dir, const std::string& ext) {
  const std::string wanted = lower(ext);
  std::vector<std::string> out;
  for (const std::string& entry : regularFiles(dir)) {
    if (entry.size() > wanted.size() && lower(entry.substr(entry.size() - wanted.size())) == wanted) {
      out.push_back(entry);
    }
  }
  return out;
}

namespace {

// The file a write really replaces: a symbolic link is followed to its target, so a linked
// settings file stays a link. Empty with `error` set when the chain of links does not end.
fs::path WriteTarget(const fs::path& path, std::string* error) {
  fs::path target = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(target, ec)) return target;
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  if (error) *error = "Cannot write " + path.string() + ": too many symbolic links";
  return fs::path();
}

// Ignores the file-size limit signal while writing, so a limit gives a failed write (EFBIG) and
// our message instead of killing the program mid-write.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, &previous_);
  }
  ~FileSizeSignalIgnored() { ::sigaction(SIGXFSZ, &previous_, nullptr); }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  struct sigaction previous_ {};
};

}  // namespace

bool WriteFileAtomically(const fs::path& path, const std::string& bytes, std::string* error) {
  const fs::path target = WriteTarget(path, error);
  if (target.empty()) return false;
  // What is replaced keeps its permissions, and a read-only file is not replaced at all (not even
  // by a user who could, such as root).
  bool replacing = false;
  mode_t mode = 0644;
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    replacing = true;
    if (!S_ISREG(existing.st_mode)) {
      if (error) *error = "Cannot write " + path.string() + ": not a regular file";
      return false;
    }
    if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0) {
      if (error) *error = "Cannot write " + path.string() + ": the file is read-only";
      return false;
    }
    mode = existing.st_mode & 07777;
  }
  const FileSizeSignalIgnored noSignal;
  const fs::path temp = target.string() + ".tmp-" + std::to_string(::getpid());
  auto fail = [&](const char* what) {
    const int saved = errno;
    if (error) *error = "Cannot write " + path.string() + ": " + what + " (" + std::strerror(saved) + ")";
    ::unlink(temp.c_str());
    return false;
  };
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fail("cannot create a temporary file");
  if (replacing) ::fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      errno = saved;
      return fail("write failed");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return fail("cannot flush");
  }
  if (::close(fd) != 0) return fail("cannot close");
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail("cannot rename into place");
  return true;
}

bool ReadWholeFile(const fs::path& path, std::string* bytes, std::string* error) {
  // Any size, but only a regular file: a named pipe would never end.
  return ReadFileBytes(path, static_cast<size_t>(-1) / 2, bytes, error);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
      pending = true;
    }
  }
  if (pending) lines.push_back(current);
  return lines;
}

}  // namespace quorvex
