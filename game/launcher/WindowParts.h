// Pieces the settings windows share: windows owned by another window, named buttons, and the
// message shown when a settings file cannot be written.
#pragma once
#include <QString>
#include <string>

class QObject;
class QPushButton;
class QWidget;

namespace quorvex {

// A window of its own (not modal) owned by `owner`: it stays above it and goes when it goes.
// Closing it unloads it.
QWidget* MakeSettingsWindow(QWidget* owner, const char* name, const QString& title);

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text);

// A message box that does not block: the window stays open so the player can try again.
void ShowSettingsError(QWidget* parent, const std::string& text);

// The direct child window of `owner` named `name`, if it is open.
QWidget* OpenChildWindow(QWidget* owner, const char* name);

// Shows a new window beside the window that owns it, inside the screen.
void ShowBesideOwner(QWidget* window);

// Shows a window that is already loaded and brings it to the front.
void BringToFront(QWidget* window);

// Hides every window of the launcher before the game window takes the screen, so none stays in
// front of it or keeps the keyboard.
void HideAllWindows();

}  // namespace quorvex
