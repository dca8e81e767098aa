#include "game/launcher/WindowParts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace quorvex {

QWidget* MakeSettingsWindow(QWidget* owner, const char* name, const QString& title) {
  auto* window = new QWidget(owner, Qt::Window);
  window->setObjectName(name);
  window->setWindowTitle(title);
  window->setAttribute(Qt::WA_DeleteOnClose);
  return window;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

void ShowSettingsError(QWidget* parent, const std::string& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, "Quorvex", QString::fromStdString(text), QMessageBox::Ok, parent);
  box->setObjectName("SettingsError");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

QWidget* OpenChildWindow(QWidget* owner, const char* name) {
  return owner ? owner->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

void ShowBesideOwner(QWidget* window) {
  window->adjustSize();
  if (const QWidget* owner = window->parentWidget()) {
    // Beside its owner rather than over it, so both stay readable, and inside the screen.
    QPoint at = owner->frameGeometry().topRight() + QPoint(16, 0);
    if (const QScreen* screen = owner->screen()) {
      const QRect free = screen->availableGeometry();
      at.setX(std::max(free.left(), std::min(at.x(), free.right() - window->width())));
      at.setY(std::max(free.top(), std::min(at.y(), free.bottom() - window->height() - 32)));
    }
    window->move(at);
  }
  window->show();
}

void BringToFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

void HideAllWindows() {
  for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
  QApplication::processEvents();
}

}  // namespace quorvex
