#include "game/launcher/NetworkWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <memory>

#include "game/launcher/WindowParts.h"

namespace quorvex {

namespace {

QSpinBox* PortBox(QWidget* parent, const char* name) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(1, 65535);
  box->setValue(kDefaultNetPort);
  return box;
}

struct NetworkParts {
  QWidget* window = nullptr;
  QSpinBox* hostPort = nullptr;
  QLineEdit* address = nullptr;
  QSpinBox* joinPort = nullptr;
  QPushButton* host = nullptr;
  QPushButton* join = nullptr;
  QPushButton* cancel = nullptr;
  QLabel* status = nullptr;
  bool cancelled = false;
};

void Play(NetworkParts& n, const PlayNetwork& play, NetworkRequest request) {
  n.cancelled = false;
  n.host->setEnabled(false);
  n.join->setEnabled(false);
  n.cancel->setVisible(true);
  n.status->setText(request.host ? "Waiting for the other player..." : "Joining...");
  QApplication::processEvents();
  request.listening = [&n](uint16_t port) {
    n.status->setText(QString("Waiting for the other player on UDP port %1").arg(port));
  };
  request.cancelled = [&n] {
    QApplication::processEvents();
    return n.cancelled;
  };
  QWidget* owner = n.window->parentWidget();
  request.begins = [] { HideAllWindows(); };
  const std::string message = play ? play(request) : std::string();
  if (owner) owner->show();
  n.window->show();
  n.host->setEnabled(true);
  n.join->setEnabled(true);
  n.cancel->setVisible(false);
  n.status->setText(QString::fromStdString(message));
}

}  // namespace

QWidget* OpenNetworkWindow(QWidget* owner, const PlayNetwork& play) {
  QWidget* window = MakeSettingsWindow(owner, "NetworkWindow", "Network game");
  auto parts = std::make_shared<NetworkParts>();
  NetworkParts& n = *parts;
  n.window = window;
  auto* grid = new QGridLayout(window);
  n.hostPort = PortBox(window, "HostPort");
  n.joinPort = PortBox(window, "JoinPort");
  n.address = new QLineEdit(window);
  n.address->setObjectName("JoinAddress");
  n.address->setPlaceholderText("address");
  n.host = MakeButton(window, "Host", "Host");
  n.join = MakeButton(window, "Join", "Join");
  n.cancel = MakeButton(window, "Cancel", "Cancel");
  n.cancel->setVisible(false);
  n.status = new QLabel(window);
  n.status->setObjectName("Status");
  grid->addWidget(new QLabel("Host a game on UDP port", window), 0, 0);
  grid->addWidget(n.hostPort, 0, 2);
  grid->addWidget(n.host, 0, 3);
  grid->addWidget(new QLabel("Join the game at", window), 1, 0);
  grid->addWidget(n.address, 1, 1);
  grid->addWidget(n.joinPort, 1, 2);
  grid->addWidget(n.join, 1, 3);
  grid->addWidget(n.status, 2, 0, 1, 3);
  grid->addWidget(n.cancel, 2, 3);

  QObject::connect(n.host, &QPushButton::clicked, window, [parts, play] {
    NetworkRequest r;
    r.host = true;
    r.port = static_cast<uint16_t>(parts->hostPort->value());
    Play(*parts, play, r);
  });
  QObject::connect(n.join, &QPushButton::clicked, window, [parts, play] {
    NetworkRequest r;
    r.host = false;
    r.address = parts->address->text().trimmed().toStdString();
    r.port = static_cast<uint16_t>(parts->joinPort->value());
    if (r.address.empty()) {
      parts->status->setText("Type the address of the game to join");
      return;
    }
    Play(*parts, play, r);
  });
  QObject::connect(n.cancel, &QPushButton::clicked, window, [parts] { parts->cancelled = true; });
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
