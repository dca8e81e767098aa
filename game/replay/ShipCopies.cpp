#include "game/replay/ShipCopies.h"

#include <unistd.h>

#include <atomic>
#include <system_error>

#include "platform/Files.h"

namespace quorvex {

ShipCopies::~ShipCopies() {
  std::error_code ec;
  if (!folder.empty()) std::filesystem::remove_all(folder, ec);
}

bool ShipCopies::Write(const std::map<std::string, std::string>& files, const std::string& tag, std::string* error) {
  // Two sets of copies may live at once in one process (host and guest in one test).
  static std::atomic<int> serial{0};
  folder = std::filesystem::temp_directory_path() /
           ("quorvex-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    *error = "Cannot make the folder " + folder.string() + ": " + ec.message();
    return false;
  }
  int n = 0;
  for (const auto& [name, bytes] : files) {
    const std::string own = "ship" + std::to_string(++n) + ".shp";
    if (!WriteFileAtomically(folder / own, bytes, error)) return false;
    names[name] = own;
  }
  return true;
}

std::filesystem::path ShipCopies::Path(const std::string& name) const {
  const auto own = names.find(name);
  return folder / (own != names.end() ? own->second : std::string("not-sent.shp"));
}

}  // namespace quorvex
