// The options window Form6 ("Quorvex - Options"): sound, music, graphics, frame rate, rules and
// critical hits, edited in options.cfg. The game reads the file when it starts.
#pragma once
#include <QString>

#include <filesystem>

class QWidget;

namespace quorvex {

inline constexpr int kDefaultFrameInterval = 20;

// Loads Form6 owned by `owner`, shows the values of `optionsFile` (the game's defaults for a
// missing file or missing lines) and of display.cfg and pilot.cfg beside it, and shows the window.
// "OK" writes all 22 lines, then display.cfg and pilot.cfg, and hides the window, which keeps its
// values; "Cancel" or closing unloads it without writing.
QWidget* OpenOptionsWindow(QWidget* owner, const std::filesystem::path& optionsFile);

// The text beside the "Framerate" bar: the delay and the frames per second it gives. A frame
// starts once more than `frameInterval` ms have passed, so frames come every frameInterval + 1 ms.
QString FrameRateText(int frameInterval);

}  // namespace quorvex
