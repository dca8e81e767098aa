#include "game/render/Caption.h"

#include "game/render/Font.h"

namespace quorvex {

void ShowWindowCaption(GameWindow& w, const std::string& text) {
  if (!w.display.open) return;
  Surface caption(static_cast<int>(text.size()) * kSmallAdvance, text.empty() ? 0 : 13);
  if (!text.empty()) FontTextOn(caption, w.fontSheet, 0, 0, text, true, false);
  SetDisplayCaption(w.display, caption, 6, kScreenHeight - 19);
}

}  // namespace quorvex
