#include "platform/OptionHelp.h"

#include <algorithm>
#include <sstream>

#ifndef QV_VERSION
#define QV_VERSION "unknown"
#endif

namespace quorvex {

std::string HelpText(const std::string& program, const std::string& summary, std::span<const OptionLine> options,
                     const std::string& more) {
  auto head = [](const OptionLine& o) { return std::string(o.name) + (*o.value ? std::string(" ") + o.value : ""); };
  size_t width = 0;
  for (const OptionLine& o : options) width = std::max(width, head(o).size());
  std::string text = "usage: " + program + " [OPTION]...\n" + summary + "\n\nOptions:\n";
  // Each text starts in one column and wraps at 79 characters, its further lines in that column.
  const size_t column = width + 4;
  for (const OptionLine& o : options) {
    const std::string h = head(o);
    std::string line = "  " + h + std::string(width - h.size() + 2, ' ');
    std::istringstream words(o.text);
    for (std::string word; words >> word;) {
      if (line.size() > column && line.size() + 1 + word.size() > 79) {
        text += line + "\n";
        line = std::string(column, ' ');
      }
      line += (line.size() > column ? " " : "") + word;
    }
    text += line + "\n";
  }
  if (!more.empty()) text += "\n" + more;
  return text;
}

std::string VersionText(const std::string& program) { return program + " " + QV_VERSION + "\n"; }

}  // namespace quorvex
