// Keysetup, the key setup window: asks for each player's seven keys in turn and records each key
// pressed as its Windows virtual-key code.
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <string>

#include "game/config/ConfigFiles.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/QtKeys.h"
#include "game/launcher/WindowParts.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

// Takes every key press of the window before Qt uses it (Tab would move the focus, Enter or Space
// would press a button), so any key can be recorded.
class KeyCapture : public QObject {
 public:
  KeyCapture(QObject* parent, std::function<void(const QKeyEvent&)> onKey) : QObject(parent), onKey_(std::move(onKey)) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::ShortcutOverride) {
      event->accept();  // delivered as a key press instead of a shortcut
      return true;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    if (event->type() == QEvent::KeyPress) onKey_(*static_cast<QKeyEvent*>(event));
    return true;
  }

 private:
  std::function<void(const QKeyEvent&)> onKey_;
};

struct KeySetup {
  std::filesystem::path file;
  KeyTable keys;
  int step = 0;  // 0..13: the key asked for now (player 1's seven, then player 2's); 14: done
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
  QPushButton *Command1 = nullptr, *Command2 = nullptr;
};

QString PlayerKeys(const KeySetup& s, int player) {
  QString text = QString("PL%1:").arg(player);
  for (int i = 0; i < 7 && (player - 1) * 7 + i < s.step; ++i) {
    const int code = player == 1 ? static_cast<int>(s.keys.player1[static_cast<size_t>(i)])
                                 : s.keys.player2[static_cast<size_t>(i)];
    text += "  " + QString::fromStdString(KeyNameOf(code));
  }
  return text;
}

void ShowStep(KeySetup& s) {
  s.Label3->setText(PlayerKeys(s, 1) + "\n" + PlayerKeys(s, 2));
  if (s.step >= 14) return;
  s.Label1->setText(s.step < 7 ? "Press key for PL1:" : "Press key for PL2:");
  s.Label2->setText(kKeyActions[static_cast<size_t>(s.step % 7)]);
}

// One key for the action asked for; any key the game knows is taken, also one already given.
void RecordKey(KeySetup& s, QWidget* window, const QKeyEvent& event) {
  if (s.step >= 14 || event.isAutoRepeat()) return;  // a held key answers one prompt only
  const int code = VirtualKeyFromQt(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
  if (code == 0) return;
  const size_t i = static_cast<size_t>(s.step % 7);
  if (s.step < 7) {
    s.keys.player1[i] = code;
  } else {
    s.keys.player2[i] = static_cast<int16_t>(code);
  }
  ++s.step;
  ShowStep(s);
  if (s.step < 14) return;

  std::string error;
  if (!SaveKeysFile(s.file, s.keys, &error)) ShowSettingsError(window, error);
  s.Label2->clear();
  s.Command1->setEnabled(true);
  s.Command2->setEnabled(false);
}

}  // namespace

QWidget* OpenKeySetupWindow(QWidget* owner, const std::filesystem::path& keysFile) {
  QWidget* window = MakeSettingsWindow(owner, "Keysetup", "Key setup");
  auto state = std::make_shared<KeySetup>();
  KeySetup& s = *state;
  s.file = keysFile;
  auto* layout = new QVBoxLayout(window);
  s.Label1 = new QLabel("Press key for PL1:", window);
  s.Label1->setObjectName("Label1");
  s.Label2 = new QLabel("NONE", window);
  s.Label2->setObjectName("Label2");
  QFont big = s.Label2->font();
  big.setPointSize(big.pointSize() * 3 / 2);
  big.setBold(true);
  s.Label2->setFont(big);
  s.Label2->setMinimumWidth(260);
  s.Label3 = new QLabel(window);
  s.Label3->setObjectName("Label3");
  layout->addWidget(s.Label1);
  layout->addWidget(s.Label2);
  layout->addWidget(s.Label3);
  auto* buttons = new QHBoxLayout();
  s.Command1 = MakeButton(window, "Command1", "OK");
  s.Command2 = MakeButton(window, "Command2", "Cancel");
  buttons->addStretch(1);
  buttons->addWidget(s.Command1);
  buttons->addWidget(s.Command2);
  layout->addLayout(buttons);

  // The window keeps the keyboard: no button takes the focus, and keys are recorded, not typed.
  s.Command1->setEnabled(false);
  s.Command1->setFocusPolicy(Qt::NoFocus);
  s.Command2->setFocusPolicy(Qt::NoFocus);
  window->setFocusPolicy(Qt::StrongFocus);
  window->installEventFilter(new KeyCapture(window, [state, window](const QKeyEvent& e) { RecordKey(*state, window, e); }));
  // Cancel or closing the window before the last key abandons the setup: keys.cfg stays as it was.
  QObject::connect(s.Command1, &QPushButton::clicked, window, &QWidget::close);
  QObject::connect(s.Command2, &QPushButton::clicked, window, &QWidget::close);

  ShowStep(s);
  ShowBesideOwner(window);
  window->activateWindow();
  window->setFocus();
  return window;
}

}  // namespace quorvex
