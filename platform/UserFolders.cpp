#include "platform/UserFolders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

// The background picture is in every data folder; a program folder without it is an installed bin.
constexpr const char* kDataMarker = "tausta.bmp";

bool HoldsGameData(const fs::path& dir) {
  std::error_code ec;
  return fs::is_regular_file(ResolveFileName(dir, kDataMarker), ec);
}

fs::path PlayerDataHome(const FolderEnvironment& env) {
  if (!env.xdgDataHome.empty() && fs::path(env.xdgDataHome).is_absolute()) return fs::path(env.xdgDataHome) / "quorvex";
  if (!env.home.empty()) return fs::path(env.home) / ".local" / "share" / "quorvex";
  return fs::temp_directory_path() / ("quorvex-" + std::to_string(::getuid()));
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

FolderEnvironment EnvironmentNow() {
  FolderEnvironment env;
  if (const char* v = std::getenv("XDG_DATA_HOME")) env.xdgDataHome = v;
  if (const char* v = std::getenv("HOME")) env.home = v;
  return env;
}

bool FolderIsWritable(const fs::path& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return ::access(dir.c_str(), W_OK) == 0;
}

GameFolders FindGameFolders(const fs::path& programDir, const FolderEnvironment& env) {
  GameFolders f;
  f.data = programDir;
  const fs::path shared = programDir / ".." / "share" / "quorvex";
  if (!HoldsGameData(programDir) && HoldsGameData(shared)) {
    f.data = fs::weakly_canonical(shared);
    f.user = PlayerDataHome(env);
  } else {
    f.user = FolderIsWritable(programDir) ? programDir : PlayerDataHome(env);
  }
  return f;
}

fs::path PlayerFolder(const GameFolders& f, PlayerFiles kind) {
  switch (kind) {
    case PlayerFiles::Replays: return f.user / "replays";
    case PlayerFiles::Screenshots: return f.user / "screenshots";
    case PlayerFiles::Settings:
    case PlayerFiles::Ships: break;
  }
  return f.user;
}

bool MakePlayerFolder(const fs::path& dir, std::string* error) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir)) {
    if (error) *error = "Cannot make the folder " + dir.string() + ": " + ec.message();
    return false;
  }
  return true;
}

fs::path FindGameFile(const GameFolders& f, const std::string& name) {
  if (f.Separate()) {
    const fs::path own = ResolveFileName(f.user, name);
    std::error_code ec;
    if (fs::exists(own, ec)) return own;
  }
  return ResolveFileName(f.data, name);
}

fs::path PlayerFilePath(const GameFolders& f, const std::string& name) { return f.user / name; }

std::vector<std::string> ListGameFiles(const GameFolders& f, const std::string& ext) {
  std::vector<std::string> names = ListFilesWithExtension(f.user, ext);
  if (!f.Separate()) return names;
  std::vector<std::string> own;
  for (const std::string& n : names) own.push_back(Lower(n));
  for (const std::string& n : ListFilesWithExtension(f.data, ext)) {
    if (std::find(own.begin(), own.end(), Lower(n)) == own.end()) names.push_back(n);
  }
  // The same order as a single folder's listing: by name without regard to case, ties by exact name.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = Lower(a), lb = Lower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

void SeedPlayerSettings(const GameFolders& f, const std::vector<std::string>& names) {
  if (!f.Separate()) return;
  std::string error;
  if (!MakePlayerFolder(f.user, &error)) return;
  for (const std::string& name : names) {
    std::error_code ec;
    if (fs::exists(ResolveFileName(f.user, name), ec)) continue;
    const fs::path stock = ResolveFileName(f.data, name);
    std::string bytes;
    if (!fs::is_regular_file(stock, ec) || !ReadWholeFile(stock, &bytes, &error)) continue;
    WriteFileAtomically(f.user / name, bytes, &error);
  }
}

}  // namespace quorvex
