// File access the way the game's data expects it: names match without regard to case,
// listings come in name order, and every file is written atomically.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {

// The path of `name` inside `dir`: the exact name when it exists, otherwise the one entry of the
// folder whose name matches without regard to case (the first in name order if several do),
// otherwise the exact name (so a later open fails with the name the data gave).
std::filesystem::path ResolveFileName(const std::filesystem::path& dir, const std::string& name);

// Bare names of the regular files in `dir` whose extension equals `ext` (".shp") without regard
// to case, sorted by name without regard to case (ties by the exact name).
std::vector<std::string> ListFilesWithExtension(const std::filesystem::path& dir, const std::string& ext);

// Writes `bytes` to a temporary file beside `path`, then renames it into place, so a failed write
// never leaves a half-written file. A symbolic link is followed and its target replaced; a replaced
// file keeps its permissions; a read-only file is refused. A file-size limit fails the write
// instead of killing the program. Returns false and fills `error` (naming the file) on failure.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes, std::string* error);

// Reads a whole regular file. Returns false and fills `error` (naming the file) when it cannot.
bool ReadWholeFile(const std::filesystem::path& path, std::string* bytes, std::string* error);

// Splits text into lines ended by CR LF, LF or a lone CR; a last line without an ending counts.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace quorvex
