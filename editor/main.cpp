// The ship editor: the program folder is the working folder, where ship files and pictures live.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>

#include <chrono>

#include "editor/EditorWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString programDir = QCoreApplication::applicationDirPath();
  QDir::setCurrent(programDir);
  // A new editor starts with a random ship, different each time it opens.
  const auto seed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  auto editor = quorvex::editor::OpenEditor(QFile::encodeName(programDir).toStdString(), seed, false);
  editor->form2->show();
  return app.exec();
}
