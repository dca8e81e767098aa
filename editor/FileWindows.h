// The editor's file windows: Form5 loads or saves a ship file, Form4 ("Import graphics") picks
// the ship picture, Form1 converts ship files of the older versions 1.0 and 1.1 to 1.2.
#pragma once
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

class QWidget;

namespace quorvex::editor {

struct EditorWindow;

enum class FileWindowMode { Load, Save };

QWidget* OpenFileWindow(EditorWindow& w, FileWindowMode mode);
QWidget* OpenImportWindow(EditorWindow& w);
QWidget* OpenConverterWindow(EditorWindow& w);

// The converter's status text for a file whose first line is `firstLine`.
QString VersionStatus(const std::string& firstLine);
inline constexpr const char* kInvalidStatus = "Ivalid file! - Please remove";

// The converter reads at most this many lines of an old file.
inline constexpr size_t kConvertedLines = 100;

// The text of a version 1.2 file made from the lines of an old file (at most 100 lines are used).
std::string ConvertedShipText(const std::vector<std::string>& oldLines);
// Writes an old file `from` as version 1.2 to `to` (the same file when the folder is writable;
// the player's copy of a stock file when installed), atomically. False with `error` naming the file.
bool ConvertShipFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error);

}  // namespace quorvex::editor
