// The ship editor: the program folder is the working folder, where ship files and pictures live.
// Installed (a read-only program folder), it lists the stock ships and the player's own and saves
// into the player's folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>

#include <chrono>
#include <cstdio>

#include "editor/EditorWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString programDir = QCoreApplication::applicationDirPath();
  // A new editor starts with a random ship, different each time it opens.
  const auto seed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  const quorvex::GameFolders folders =
      quorvex::FindGameFolders(QFile::encodeName(programDir).toStdString(), quorvex::EnvironmentNow());
  QDir::setCurrent(QString::fromStdString(folders.data.string()));
  std::string error;
  if (folders.Separate() && !quorvex::MakePlayerFolder(folders.user, &error)) std::fprintf(stderr, "%s\n", error.c_str());
  auto editor = quorvex::editor::OpenEditor(folders.data, seed, false, folders.user);
  editor->form2->show();
  return app.exec();
}
