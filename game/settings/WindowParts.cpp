#include "game/settings/WindowParts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

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

void ShowSettingsError(QWidget* parent, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, "Quorvex", text, QMessageBox::Ok, parent);
  box->setObjectName("SettingsError");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

QWidget* OpenChildWindow(QWidget* owner, const char* name) {
  return owner ? owner->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

void BringToFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace quorvex
