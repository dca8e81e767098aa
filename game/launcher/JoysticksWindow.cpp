// Form4, the joysticks window: which axis or button does what for a joystick player.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

#include "game/config/ConfigFiles.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/WindowParts.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

// Combo1(0..6) are player 1's rows, Combo1(7..13) player 2's.
QComboBox* Row(const QWidget* form4, int index) {
  return form4->findChild<QComboBox*>(QString("Combo1_%1").arg(index));
}

QGroupBox* PlayerFrame(QWidget* window, const char* name, int player) {
  auto* frame = new QGroupBox(QString("Player %1 - Joystick %1").arg(player), window);
  frame->setObjectName(name);
  auto* grid = new QGridLayout(frame);
  QStringList choices = {"-X axis", "+X axis", "-Y axis", "+Y axis"};
  for (int b = 1; b <= kJoystickChoices - 4; ++b) choices << QString("Button %1").arg(b);
  for (int row = 0; row < 7; ++row) {
    grid->addWidget(new QLabel(kJoystickRows[static_cast<size_t>(row)], frame), row, 0);
    auto* combo = new QComboBox(frame);
    combo->setObjectName(QString("Combo1_%1").arg((player - 1) * 7 + row));
    combo->addItems(choices);
    grid->addWidget(combo, row, 1);
  }
  return frame;
}

// A line's value as a list position: rounded; above the list (a keyboard player's key code) the
// last entry; negative, no choice.
int ListPosition(double value) {
  if (!(value >= 0)) return -1;
  return static_cast<int>(std::min(nearest(value), double(kJoystickChoices - 1)));
}

void SetTitles(QWidget* form4, const QWidget* form2) {
  for (int player = 1; player <= 2; ++player) {
    const QString stick = ChosenJoystickText(form2, player);
    if (stick.isEmpty()) continue;  // a keyboard player's frame keeps its own title
    form4->findChild<QGroupBox*>(player == 1 ? "Frame1" : "Frame2")->setTitle(QString("Player %1 - ").arg(player) + stick);
  }
}

}  // namespace

QWidget* OpenJoysticksWindow(QWidget* form2, const std::filesystem::path& keysFile) {
  if (QWidget* open = OpenChildWindow(form2, "Form4")) {
    SetTitles(open, form2);
    BringToFront(open);
    return open;
  }
  QWidget* window = MakeSettingsWindow(form2, "Form4", "Joysticks");
  auto* layout = new QVBoxLayout(window);
  auto* frames = new QHBoxLayout();
  frames->addWidget(PlayerFrame(window, "Frame1", 1));
  frames->addWidget(PlayerFrame(window, "Frame2", 2));
  layout->addLayout(frames);
  QPushButton* ok = MakeButton(window, "Command1", "OK");
  layout->addWidget(ok, 0, Qt::AlignRight);

  const KeyTable keys = ReadKeysFile(keysFile);
  for (int row = 0; row < 7; ++row) {
    const size_t entry = static_cast<size_t>(kJoystickRowEntry[static_cast<size_t>(row)]);
    Row(window, row)->setCurrentIndex(ListPosition(keys.player1[entry]));
    Row(window, 7 + row)->setCurrentIndex(ListPosition(keys.player2[entry]));
  }
  SetTitles(window, form2);

  QObject::connect(ok, &QPushButton::clicked, window, [window, form2, keysFile] {
    // A keyboard player's seven lines go back as they were read.
    KeyTable keys = ReadKeysFile(keysFile);
    for (int row = 0; row < 7; ++row) {
      const size_t entry = static_cast<size_t>(kJoystickRowEntry[static_cast<size_t>(row)]);
      if (ChosenDevice(form2, 1) != 0) keys.player1[entry] = Row(window, row)->currentIndex();
      if (ChosenDevice(form2, 2) != 0) keys.player2[entry] = static_cast<int16_t>(Row(window, 7 + row)->currentIndex());
    }
    std::string error;
    if (!SaveKeysFile(keysFile, keys, &error)) {
      ShowSettingsError(window, error);
      return;
    }
    window->close();
  });
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
