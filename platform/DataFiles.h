// Reading data files safely: names taken from data stay inside the program folder, only regular
// files are opened (a named pipe or a device never blocks start-up), and a reader takes only the
// lines it needs, so no file can cost more memory than its reader's bound.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// True for a bare file name in the program folder: not empty, no folder part ('/' or '\'), not "."
// or "..", no NUL. Pictures, eject ships and playlist songs named in data must be bare names.
bool IsBareFileName(std::string_view name);

// The message for a refused name: "<dataFile>: refused file name "<name>" (...)".
std::string RefusedNameMessage(const std::string& dataFile, const std::string& name);

// Longest line a reader keeps; the rest of a longer line is skipped.
inline constexpr size_t kMaxLineLength = 65536;

// Opens `path` for reading when it is a regular file (symbolic links followed). Returns the file
// descriptor, or -1 with `error` naming the file: "not found", "not a regular file" or the reason.
int OpenRegularFile(const std::filesystem::path& path, std::string* error);

// The first `maxLines` lines of a regular file (lines end with CR LF, LF or a lone CR; a last line
// without an ending counts). Lines longer than kMaxLineLength are cut there.
bool ReadTextLines(const std::filesystem::path& path, size_t maxLines, std::vector<std::string>* lines,
                   std::string* error);

// The whole content of a regular file of at most `maxBytes` bytes; a larger file is refused.
bool ReadFileBytes(const std::filesystem::path& path, size_t maxBytes, std::string* bytes, std::string* error);

// Removes the temporary files our atomic writes leave when a program is killed mid-write
// ("<name>.tmp-<pid>" of a process that no longer runs). Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::filesystem::path& dir);

}  // namespace quorvex
