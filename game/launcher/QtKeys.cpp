#include "game/launcher/QtKeys.h"

#include <Qt>

#include "platform/Keys.h"

namespace quorvex {
namespace {

struct QtKey {
  int qt;
  int code;
};

// Keys off the keypad that are not letters, digits or function keys. US punctuation comes with its
// shifted symbol, which Qt reports while Shift is held.
constexpr QtKey kQtKeys[] = {
    {Qt::Key_Backspace, vk::Back}, {Qt::Key_Tab, vk::Tab}, {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Return, vk::Return}, {Qt::Key_Enter, vk::Return}, {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control}, {Qt::Key_Alt, vk::Menu}, {Qt::Key_AltGr, vk::Menu},
    {Qt::Key_Pause, vk::Pause}, {Qt::Key_CapsLock, vk::Capital}, {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space}, {Qt::Key_PageUp, vk::Prior}, {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End}, {Qt::Key_Home, vk::Home}, {Qt::Key_Left, vk::Left}, {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right}, {Qt::Key_Down, vk::Down}, {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete}, {Qt::Key_NumLock, vk::NumLock}, {Qt::Key_ScrollLock, vk::Scroll},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shift with a digit: the digit's key.
    {Qt::Key_ParenRight, '0'}, {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'}, {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
};

// Keypad keys: with Num Lock off Qt reports the navigation key printed on them.
constexpr QtKey kQtKeypad[] = {
    {Qt::Key_Insert, vk::Numpad0}, {Qt::Key_End, vk::Numpad0 + 1}, {Qt::Key_Down, vk::Numpad0 + 2},
    {Qt::Key_PageDown, vk::Numpad0 + 3}, {Qt::Key_Left, vk::Numpad0 + 4}, {Qt::Key_Clear, vk::Numpad0 + 5},
    {Qt::Key_Right, vk::Numpad0 + 6}, {Qt::Key_Home, vk::Numpad0 + 7}, {Qt::Key_Up, vk::Numpad0 + 8},
    {Qt::Key_PageUp, vk::Numpad0 + 9}, {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add},
    {Qt::Key_Minus, vk::Subtract}, {Qt::Key_Period, vk::Decimal}, {Qt::Key_Comma, vk::Decimal},
    {Qt::Key_Delete, vk::Decimal}, {Qt::Key_Slash, vk::Divide}, {Qt::Key_Enter, vk::Return},
    {Qt::Key_Return, vk::Return}, {Qt::Key_NumLock, vk::NumLock},
};

}  // namespace

int VirtualKeyFromQt(int key, bool keypad) {
  if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Numpad0 + (key - Qt::Key_0);
  if (keypad) {
    for (const QtKey& k : kQtKeypad) {
      if (k.qt == key) return k.code;
    }
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return vk::F1 + (key - Qt::Key_F1);
  for (const QtKey& k : kQtKeys) {
    if (k.qt == key) return k.code;
  }
  return 0;
}

}  // namespace quorvex
