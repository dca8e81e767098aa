// The launcher's "Network game" window: host a battle on a UDP port, or join one at an address
// and port. The battle itself belongs to the game; the window only asks for it and waits.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "game/config/NetPort.h"

class QWidget;

namespace quorvex {

struct NetworkRequest {
  bool host = true;
  std::string address;  // join
  uint16_t port = kDefaultNetPort;
  std::function<void(uint16_t)> listening;  // the host listens on this port and waits
  std::function<bool()> cancelled;          // keeps the windows alive while waiting; true after "Cancel"
  std::function<void()> begins;             // the battle begins: the launcher's windows step aside
};

// Plays the requested battle and returns when it is over, with the message that ended it (empty
// when it ended well).
using PlayNetwork = std::function<std::string(const NetworkRequest&)>;

// Opens the window (objectName "NetworkWindow") owned by `owner`. After a battle the launcher shows
// again, and the window tells how the last one ended.
QWidget* OpenNetworkWindow(QWidget* owner, const PlayNetwork& play);

}  // namespace quorvex
