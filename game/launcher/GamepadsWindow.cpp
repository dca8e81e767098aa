// The gamepads window: each player's pad actions, changed by pressing a pad's button, as the key
// setup takes keys; the dead zone of the sticks and rumble. Writes gamepad.cfg.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <SDL.h>

#include <memory>
#include <vector>

#include "game/config/GamepadFile.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/WindowParts.h"

namespace quorvex {
namespace {

// How often the window reads the pads while it waits for a press.
constexpr int kPadReadMs = 30;
// A stick counts as pushed for a choice only well past any dead zone.
constexpr int kChoiceDeadZone = 20000;

QPushButton* ActionButton(const QWidget* window, int player, int action) {
  return window->findChild<QPushButton*>(QString("PadAction%1_%2").arg(player).arg(action));
}

// Every attached pad's active controls, together.
PadControls ActiveOnAnyPad(const std::vector<SDL_GameController*>& pads) {
  SDL_GameControllerUpdate();
  PadControls active = 0;
  for (SDL_GameController* c : pads) {
    std::array<bool, 21> buttons{};
    for (int b = 0; b < 21; ++b) buttons[static_cast<size_t>(b)] = SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)) != 0;
    std::array<int, 6> axes{};
    for (int a = 0; a < 6; ++a) axes[static_cast<size_t>(a)] = SDL_GameControllerGetAxis(c, static_cast<SDL_GameControllerAxis>(a));
    active |= ActivePadControls(buttons, axes, kChoiceDeadZone);
  }
  return active;
}

// What the window keeps while it is open: the layout being edited, the pads it reads and the row
// waiting for a press.
struct PadSetup {
  GamepadConfig config;
  std::vector<SDL_GameController*> pads;
  bool started = false;  // this window started SDL's game controller support
  int waitingPlayer = -1, waitingAction = -1;
  PadControls before = 0;  // controls already down when the row began to wait
  ~PadSetup() {
    for (SDL_GameController* c : pads) SDL_GameControllerClose(c);
    if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
};

void ShowLayout(QWidget* window, const PadSetup& setup) {
  for (int p = 0; p < 2; ++p) {
    for (int a = 0; a < kPadActions; ++a) {
      ActionButton(window, p + 1, a)->setText(QString::fromStdString(PadControlsText(setup.config.actions[static_cast<size_t>(p)][static_cast<size_t>(a)])));
    }
  }
}

void OpenAttachedPads(PadSetup& setup) {
  for (SDL_GameController* c : setup.pads) SDL_GameControllerClose(c);
  setup.pads.clear();
  for (const PadInfo& pad : ListGamepads()) {
    if (SDL_GameController* c = SDL_GameControllerOpen(pad.deviceIndex)) setup.pads.push_back(c);
  }
}

}  // namespace

QWidget* OpenGamepadsWindow(QWidget* form2, const std::filesystem::path& padFile, const std::filesystem::path& mappingFile) {
  QWidget* window = MakeSettingsWindow(form2, "FormPad", "Gamepads");
  auto setup = std::make_shared<PadSetup>();
  setup->started = SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0;
  StartGamepads(mappingFile);
  setup->config = ReadGamepadFile(padFile);
  OpenAttachedPads(*setup);

  auto* layout = new QVBoxLayout(window);
  auto* frames = new QHBoxLayout();
  for (int player = 1; player <= 2; ++player) {
    auto* frame = new QGroupBox(QString("Player %1 - Gamepad").arg(player), window);
    auto* grid = new QGridLayout(frame);
    for (int a = 0; a < kPadActions; ++a) {
      QString label = QString(kPadActionNames[static_cast<size_t>(a)]);
      label[0] = label[0].toUpper();
      if (a == 5) label += " (with fire held)";
      grid->addWidget(new QLabel(label, frame), a, 0);
      QPushButton* button = MakeButton(frame, "", "");
      button->setObjectName(QString("PadAction%1_%2").arg(player).arg(a));
      grid->addWidget(button, a, 1);
    }
    frames->addWidget(frame);
  }
  layout->addLayout(frames);
  auto* hint = new QLabel("Click an action, then press the pad's button for it. Menus: D-pad, A, Start.", window);
  hint->setObjectName("PadHint");
  layout->addWidget(hint);
  auto* options = new QHBoxLayout();
  options->addWidget(new QLabel("Stick dead zone", window));
  auto* deadZone = new QSpinBox(window);
  deadZone->setObjectName("PadDeadZone");
  deadZone->setRange(0, 32000);
  deadZone->setSingleStep(1000);
  deadZone->setValue(setup->config.deadZone);
  options->addWidget(deadZone);
  auto* rumble = new QCheckBox("Rumble on hits", window);
  rumble->setObjectName("PadRumble");
  rumble->setChecked(setup->config.rumble);
  options->addWidget(rumble);
  options->addStretch(1);
  layout->addLayout(options);
  auto* buttons = new QHBoxLayout();
  QPushButton* defaults = MakeButton(window, "PadDefaults", "Default layout");
  QPushButton* ok = MakeButton(window, "PadOK", "OK");
  QPushButton* cancel = MakeButton(window, "PadCancel", "Cancel");
  buttons->addWidget(defaults);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  ShowLayout(window, *setup);

  auto* reader = new QTimer(window);
  reader->setObjectName("PadReader");
  for (int player = 1; player <= 2; ++player) {
    for (int a = 0; a < kPadActions; ++a) {
      QObject::connect(ActionButton(window, player, a), &QPushButton::clicked, window, [=] {
        ShowLayout(window, *setup);
        OpenAttachedPads(*setup);
        setup->waitingPlayer = player - 1;
        setup->waitingAction = a;
        setup->before = ActiveOnAnyPad(setup->pads);
        ActionButton(window, player, a)->setText("Press a button...");
        reader->start(kPadReadMs);
      });
    }
  }
  // The first control to go down on any pad becomes the action's only control.
  QObject::connect(reader, &QTimer::timeout, window, [=] {
    const PadControls active = ActiveOnAnyPad(setup->pads);
    const PadControls pressed = active & ~setup->before;
    setup->before &= active;  // a control let go may be chosen by pressing it again
    if (pressed == 0 || setup->waitingPlayer < 0) return;
    int control = 0;
    while ((pressed & PadBit(control)) == 0) ++control;
    setup->config.actions[static_cast<size_t>(setup->waitingPlayer)][static_cast<size_t>(setup->waitingAction)] = PadBit(control);
    setup->waitingPlayer = setup->waitingAction = -1;
    reader->stop();
    ShowLayout(window, *setup);
  });
  QObject::connect(defaults, &QPushButton::clicked, window, [=] {
    setup->config.actions = DefaultGamepadConfig().actions;
    setup->waitingPlayer = setup->waitingAction = -1;
    reader->stop();
    ShowLayout(window, *setup);
  });
  QObject::connect(ok, &QPushButton::clicked, window, [=] {
    // The players' pad choices belong to the controls window: they stay as the file has them.
    GamepadConfig config = ReadGamepadFile(padFile);
    config.actions = setup->config.actions;
    config.deadZone = deadZone->value();
    config.rumble = rumble->isChecked();
    std::string error;
    if (!SaveGamepadFile(padFile, config, &error)) {
      ShowSettingsError(window, error);
      return;
    }
    window->close();
  });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  // The pads are let go with the window.
  QObject::connect(window, &QObject::destroyed, [setup]() mutable { setup.reset(); });
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
