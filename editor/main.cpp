// The ship editor: the program folder is the working folder, where ship files and pictures live.
// Installed (a read-only program folder), it lists the stock ships and the player's own and saves
// into the player's folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "editor/EditorWindow.h"
#include "platform/OptionHelp.h"

namespace {

constexpr quorvex::OptionLine kOptions[] = {
    {"--help", "", "print this help and exit"},
    {"--version", "", "print the version and exit"},
};

}  // namespace

int main(int argc, char** argv) {
  // --help and --version answer before any window opens; everything else goes to Qt, which takes
  // its own options (-platform, -style, ...).
  // Installed it is called quorvex-editor: it names itself as it was started.
  const std::string self = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "editor";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      const std::string help = quorvex::HelpText(
          self, "The Quorvex ship editor: designs, prices, saves and converts ship files (.shp).", kOptions,
          "It also takes Qt's own options, such as -platform and -style.\n");
      std::fputs(help.c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(quorvex::VersionText(self).c_str(), stdout);
      return 0;
    }
  }
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
