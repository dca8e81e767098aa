// Ship files that came inside a replay or from the other machine of a network battle, written out
// for the ship loader under names of our own (a name from outside is never used as a path) into a
// temporary folder that goes away with them.
#pragma once
#include <filesystem>
#include <map>
#include <string>

namespace quorvex {

struct ShipCopies {
  std::filesystem::path folder;
  std::map<std::string, std::string> names;  // ship list name -> file in folder

  ShipCopies() = default;
  ShipCopies(const ShipCopies&) = delete;
  ShipCopies& operator=(const ShipCopies&) = delete;
  ~ShipCopies();

  // Writes `files` (ship list name -> contents) into a new folder whose name starts with `tag`;
  // false with the error.
  bool Write(const std::map<std::string, std::string>& files, const std::string& tag, std::string* error);
  // Where ship `name` is read from. A ship that did not come reads as a missing file, which the
  // loader reports.
  std::filesystem::path Path(const std::string& name) const;
};

}  // namespace quorvex
