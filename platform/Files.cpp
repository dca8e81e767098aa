#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

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

bool WriteFileAtomically(const fs::path& path, const std::string& bytes, std::string* error) {
  const fs::path temp = path.string() + ".tmp-" + std::to_string(::getpid());
  auto fail = [&](const char* what) {
    if (error) *error = "Cannot write " + path.string() + ": " + what + " (" + std::strerror(errno) + ")";
    ::unlink(temp.c_str());
    return false;
  };
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fail("cannot create a temporary file");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return fail("write failed");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) {
    ::close(fd);
    return fail("cannot flush");
  }
  if (::close(fd) != 0) return fail("cannot close");
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail("cannot rename into place");
  return true;
}

bool ReadWholeFile(const fs::path& path, std::string* bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "Cannot open " + path.string();
    return false;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) {
    if (error) *error = "Cannot read " + path.string();
    return false;
  }
  *bytes = ss.str();
  return true;
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
