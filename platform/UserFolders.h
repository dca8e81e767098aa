// Where the programs read and write their files. Run from a writable program folder (the build
// folder, an unpacked portable copy) both folders are that folder, as the game always had it.
// Installed, the program folder is read-only: the stock data stays there and the player's own files
// (settings, ships, replays, screenshots) go to $XDG_DATA_HOME/quorvex. This is the one place
// that decides paths; nothing is ever written into the data folder of an installed game.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {

struct GameFolders {
  std::filesystem::path data;  // stock pictures, sounds, music, stock ships
  std::filesystem::path user;  // the player's files; the same folder as `data` when that is writable
  bool Separate() const { return data != user; }
};

// The environment the lookup depends on, passed in so tests need not change the process's.
struct FolderEnvironment {
  std::string xdgDataHome;  // $XDG_DATA_HOME (empty or relative: not set)
  std::string home;         // $HOME
};
FolderEnvironment EnvironmentNow();

// A folder the game may write into: write access, and a write permission bit set for somebody
// (a folder made read-only with chmod counts as read-only even for root).
bool FolderIsWritable(const std::filesystem::path& dir);

// The folders for a program in `programDir`. The data is in the program folder itself, or in
// ../share/quorvex beside an installed program's bin folder; an installed layout always keeps the
// player's files in the data folder of the user, as does a program folder that is not writable.
GameFolders FindGameFolders(const std::filesystem::path& programDir, const FolderEnvironment& env);

// The kinds of file the player owns, and the folder each is written to.
enum class PlayerFiles { Settings, Ships, Replays, Screenshots };
std::filesystem::path PlayerFolder(const GameFolders& folders, PlayerFiles kind);
// Creates the folder (and its parents) when missing. False with a message naming it on failure.
bool MakePlayerFolder(const std::filesystem::path& dir, std::string* error);

// Where to read a file by name: the player's own copy when there is one (found without regard to
// case), otherwise the stock one of the data folder.
std::filesystem::path FindGameFile(const GameFolders& folders, const std::string& name);
// Where to write a player's file by name.
std::filesystem::path PlayerFilePath(const GameFolders& folders, const std::string& name);

// The bare names of both folders whose extension matches `ext` without regard to case, in name
// order; a player's file shadows a stock file of the same name (case ignored).
std::vector<std::string> ListGameFiles(const GameFolders& folders, const std::string& ext);

// Gives a separate user folder the stock settings files it lacks (copies of the data folder's,
// when there are any), so a first run starts from the shipped defaults. Never touches the data folder.
void SeedPlayerSettings(const GameFolders& folders, const std::vector<std::string>& names);

}  // namespace quorvex
