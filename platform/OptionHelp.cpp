#include "platform/OptionHelp.h"

#include <algorithm>

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
  for (const OptionLine& o : options) {
    const std::string h = head(o);
    text += "  " + h + std::string(width - h.size() + 2, ' ') + o.text + "\n";
  }
  if (!more.empty()) text += "\n" + more;
  return text;
}

std::string VersionText(const std::string& program) { return program + " " + QV_VERSION + "\n"; }

}  // namespace quorvex
