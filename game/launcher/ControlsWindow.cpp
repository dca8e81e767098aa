// Form2, the controls window: which device each player uses.
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <vector>

#include "game/config/ConfigFiles.h"
#include "game/config/GamepadFile.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/WindowParts.h"
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
  // Gamepads: the keyboard until a gamepad is plugged in, then the pad (any one, or one model).
  auto* padOption = new QRadioButton("Gamepad", frame);
  padOption->setObjectName(QString("OptionPad%1").arg(player));
  layout->addWidget(padOption);
  auto* pads = new QComboBox(frame);
  pads->setObjectName(QString("ComboPad%1").arg(player));
  layout->addWidget(pads);
  return frame;
}

QRadioButton* PadOption(const QWidget* form2, int player) {
  return form2->findChild<QRadioButton*>(QString("OptionPad%1").arg(player));
}
QComboBox* PadList(const QWidget* form2, int player) {
  return form2->findChild<QComboBox*>(QString("ComboPad%1").arg(player));
}

// The pad list: any gamepad, the attached ones by name, and a chosen one that is not attached.
void ShowAttachedPads(QWidget* window, const std::vector<PadInfo>& attached) {
  for (int player = 1; player <= 2; ++player) {
    QComboBox* list = PadList(window, player);
    const QString chosen = list->currentData().toString();
    const QString chosenName = list->currentText();
    list->blockSignals(true);
    list->clear();
    list->addItem("Any gamepad", QString());
    bool listed = chosen.isEmpty();
    for (const PadInfo& pad : attached) {
      const QString guid = QString::fromStdString(pad.guid);
      if (list->findData(guid) >= 0) continue;  // two pads of one model are one choice
      list->addItem(QString::fromStdString(pad.name), guid);
      listed |= guid == chosen;
    }
    if (!listed) list->addItem(chosenName.endsWith(" (not attached)") ? chosenName : chosenName + " (not attached)", chosen);
    list->setCurrentIndex(std::max(0, list->findData(chosen)));
    list->blockSignals(false);
  }
}

std::filesystem::path PadFile(const std::filesystem::path& deviceFile) { return deviceFile.parent_path() / kGamepadFile; }
std::filesystem::path MappingFile(const std::filesystem::path& deviceFile) {
  return deviceFile.parent_path() / kPadMappingFile;
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

PadChoice ChosenPad(const QWidget* form2, int player) {
  const QRadioButton* padOption = PadOption(form2, player);
  if (!padOption || !padOption->isChecked()) return PadChoice{PadChoiceKind::Off, "", ""};
  const QComboBox* list = PadList(form2, player);
  const QString guid = list->currentData().toString();
  if (guid.isEmpty()) return PadChoice{};
  QString name = list->currentText();
  name.remove(" (not attached)");
  return PadChoice{PadChoiceKind::Named, guid.toStdString(), name.toStdString()};
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
  QPushButton* gamepads = MakeButton(window, "CommandPad", "Gamepads...");
  QPushButton* ok = MakeButton(window, "Command5", "OK");
  joysticks->setEnabled(false);
  buttons->addWidget(setKeys);
  buttons->addWidget(joysticks);
  buttons->addWidget(gamepads);
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
  // A keyboard player who has not switched gamepads off flies with one once it is plugged in.
  const GamepadConfig padConfig = ReadGamepadFile(PadFile(deviceFile));
  for (int player = 1; player <= 2; ++player) {
    const PadChoice& choice = padConfig.player[static_cast<size_t>(player - 1)];
    if (choice.kind == PadChoiceKind::Named) PadList(window, player)->addItem(QString::fromStdString(choice.name), QString::fromStdString(choice.guid));
    PadList(window, player)->setCurrentIndex(PadList(window, player)->count() - 1);
    if (ChosenDevice(window, player) == 0 && choice.kind != PadChoiceKind::Off) PadOption(window, player)->setChecked(true);
  }
  ShowAttachedJoysticks(window);
  ShowAttachedPads(window, GamepadsNow(MappingFile(deviceFile)));
  // Joysticks come and go while the window is open: the list follows them.
  auto* watch = new QTimer(window);
  QObject::connect(watch, &QTimer::timeout, window, [window, deviceFile] {
    ShowAttachedJoysticks(window);
    ShowAttachedPads(window, GamepadsNow(MappingFile(deviceFile)));
  });
  watch->start(kJoystickWatchMs);
  QObject::connect(gamepads, &QPushButton::clicked, window, [window, deviceFile] {
    if (QWidget* open = OpenChildWindow(window, "FormPad")) {
      BringToFront(open);
    } else {
      OpenGamepadsWindow(window, PadFile(deviceFile), MappingFile(deviceFile));
    }
  });

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
    GamepadConfig pads = ReadGamepadFile(PadFile(deviceFile));
    pads.player = {ChosenPad(window, 1), ChosenPad(window, 2)};
    if (!SaveGamepadFile(PadFile(deviceFile), pads, &error)) {
      ShowSettingsError(window, error);
      return;
    }
    window->close();
  });
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
