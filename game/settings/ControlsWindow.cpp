// Form2, the controls window: which device each player uses.
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "game/settings/ConfigFiles.h"
#include "game/settings/InputWindows.h"
#include "game/settings/WindowParts.h"
#include "platform/Joystick.h"

namespace quorvex {
namespace {

// Each player's options in device order: keyboard, joystick 1, joystick 2.
constexpr const char* kPlayerOptions[2][3] = {{"Option1", "Option2", "Option3"}, {"Option6", "Option5", "Option4"}};

QRadioButton* Option(const QWidget* form2, int player, int device) {
  return form2->findChild<QRadioButton*>(kPlayerOptions[player - 1][device]);
}

QGroupBox* PlayerFrame(QWidget* window, const char* name, int player) {
  auto* frame = new QGroupBox(QString("Player %1").arg(player), window);
  frame->setObjectName(name);
  auto* layout = new QVBoxLayout(frame);
  constexpr const char* kTexts[3] = {"Keyboard", "Joystick 1", "Joystick 2"};
  for (int device = 0; device < 3; ++device) {
    auto* option = new QRadioButton(kTexts[device], frame);
    option->setObjectName(kPlayerOptions[player - 1][device]);
    layout->addWidget(option);
  }
  return frame;
}

}  // namespace

int ChosenDevice(const QWidget* form2, int player) {
  for (int device = 0; device < 3; ++device) {
    const QRadioButton* option = Option(form2, player, device);
    if (option && option->isChecked()) return device;
  }
  return 0;
}

QString ChosenJoystickText(const QWidget* form2, int player) {
  const int device = ChosenDevice(form2, player);
  return device == 0 ? QString() : Option(form2, player, device)->text();
}

// The joystick options name the joysticks attached now; one not attached is disabled and keeps its
// plain name. An option stays chosen when its joystick is missing, so OK keeps what the file said.
void ShowAttachedJoysticks(QWidget* window) {
  const std::vector<std::string> sticks = JoystickNamesNow();
  for (int stick = 1; stick <= 2; ++stick) {
    const bool attached = sticks.size() >= static_cast<size_t>(stick);
    for (int player = 1; player <= 2; ++player) {
      QRadioButton* option = Option(window, player, stick);
      option->setEnabled(attached);
      option->setText(attached ? QString::fromStdString(sticks[static_cast<size_t>(stick - 1)])
                               : QString(stick == 1 ? "Joystick 1" : "Joystick 2"));
    }
  }
}

QWidget* OpenControlsWindow(QWidget* owner, const std::filesystem::path& deviceFile,
                            const std::filesystem::path& keysFile) {
  QWidget* window = MakeSettingsWindow(owner, "Form2", "Controls");
  auto* layout = new QVBoxLayout(window);
  auto* frames = new QHBoxLayout();
  frames->addWidget(PlayerFrame(window, "Frame1", 1));
  frames->addWidget(PlayerFrame(window, "Frame2", 2));
  layout->addLayout(frames);
  auto* buttons = new QHBoxLayout();
  QPushButton* setKeys = MakeButton(window, "Command1", "Set keys...");
  QPushButton* joysticks = MakeButton(window, "Command2", "Joysticks...");
  QPushButton* ok = MakeButton(window, "Command5", "OK");
  joysticks->setEnabled(false);
  buttons->addWidget(setKeys);
  buttons->addWidget(joysticks);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  layout->addLayout(buttons);

  // Choosing a joystick for either player enables "Joysticks..."; choosing the keyboard disables it
  // once both players are on the keyboard.
  for (int player = 1; player <= 2; ++player) {
    for (int device = 0; device < 3; ++device) {
      QObject::connect(Option(window, player, device), &QRadioButton::toggled, joysticks, [window, joysticks] {
        joysticks->setEnabled(ChosenDevice(window, 1) != 0 || ChosenDevice(window, 2) != 0);
      });
    }
  }

  const DeviceConfig device = ReadDeviceFile(deviceFile);
  Option(window, 1, device.player1)->setChecked(true);
  Option(window, 2, device.player2)->setChecked(true);
  ShowAttachedJoysticks(window);
  // Joysticks come and go while the window is open: the list follows them.
  auto* watch = new QTimer(window);
  QObject::connect(watch, &QTimer::timeout, window, [window] { ShowAttachedJoysticks(window); });
  watch->start(kJoystickWatchMs);

  QObject::connect(setKeys, &QPushButton::clicked, window, [window, keysFile] {
    if (QWidget* open = OpenChildWindow(window, "Keysetup")) {
      BringToFront(open);
    } else {
      OpenKeySetupWindow(window, keysFile);
    }
  });
  QObject::connect(joysticks, &QPushButton::clicked, window, [window, keysFile] {
    OpenJoysticksWindow(window, keysFile);
  });
  QObject::connect(ok, &QPushButton::clicked, window, [window, deviceFile] {
    std::string error;
    if (!SaveDeviceFile(deviceFile, DeviceConfig{ChosenDevice(window, 1), ChosenDevice(window, 2)}, &error)) {
      ShowSettingsError(window, error);
      return;
    }
    window->close();
  });
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
