#include "editor/FileWindows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include <system_error>

#include "editor/EditorWindow.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/Numbers.h"

namespace quorvex::editor {
namespace {

// A window of its own (not modal) that belongs to form2 and goes away when it closes.
QWidget* MakeToolWindow(EditorWindow& w, const char* name, const QString& title) {
  auto* window = new QWidget(w.form2.get(), Qt::Window);
  window->setObjectName(name);
  window->setWindowTitle(title);
  window->setAttribute(Qt::WA_DeleteOnClose);
  return window;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(name);
  return button;
}

QListWidget* MakeFileList(QWidget* parent, const GameFolders& folders, const char* ext) {
  auto* list = new QListWidget(parent);
  list->setObjectName("File1");
  for (const std::string& name : ListGameFiles(folders, ext)) list->addItem(FileText(name));
  return list;
}

// Calls `picked` with the file the user picks in the list: clicked, reached with the arrow keys or
// chosen by the program. When the list takes the focus it makes its first entry current without
// selecting it: no pick, so the name already proposed stays.
template <typename Picked>
void OnFilePicked(QListWidget* list, QObject* context, Picked picked) {
  QObject::connect(list, &QListWidget::itemSelectionChanged, context, [list, picked] {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty()) picked(selected.front()->text());
  });
}

// Saving over a file that holds another ship asks first, naming both ships; a file of the same
// ship is saved over without a question.
bool MayReplace(EditorWindow& w, const std::string& fileName) {
  const std::filesystem::path existing = FindGameFile(EditorFolders(w), fileName);
  std::error_code ec;
  if (!std::filesystem::exists(existing, ec)) return true;
  std::vector<std::string> lines;
  std::string error;
  const bool readable = ReadTextLines(existing, 3, &lines, &error) && lines.size() >= 3;
  const QString held = readable ? FileText(lines[2]) : QString();
  const QString saving = w.shipname->text();
  if (readable && held == saving) return true;
  const QString what = readable ? "the ship \"" + held + "\"" : QString("no ship this editor can read");
  return AskEditorQuestion(w, "Replace file?",
                           FileText(fileName) + " holds " + what + ".\nReplace it with the ship \"" + saving + "\"?");
}

}  // namespace

QWidget* OpenFileWindow(EditorWindow& w, FileWindowMode mode) {
  const bool save = mode == FileWindowMode::Save;
  if (w.fileWindow) w.fileWindow->close();
  QWidget* window = MakeToolWindow(w, "Form5", save ? "Save file as..." : "Load file...");
  auto* layout = new QVBoxLayout(window);
  QListWidget* files = MakeFileList(window, EditorFolders(w), ".shp");
  layout->addWidget(files);
  layout->addWidget(new QLabel("Filename:", window));
  auto* text = new QLineEdit(w.currentFile, window);
  text->setObjectName("Text1");
  layout->addWidget(text);
  auto* buttons = new QHBoxLayout();
  QPushButton* load = MakeButton(window, "Command3", "Load");
  QPushButton* saveButton = MakeButton(window, "Command1", "Save");
  QPushButton* cancel = MakeButton(window, "Command2", "Cancel");
  load->setVisible(!save);
  saveButton->setVisible(save);
  buttons->addWidget(load);
  buttons->addWidget(saveButton);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  if (save) text->setText(w.shipname->text() + ".shp");

  EditorWindow* pw = &w;
  OnFilePicked(files, window, [text](const QString& name) { text->setText(name); });
  QObject::connect(load, &QPushButton::clicked, window, [pw, text, window] {
    if (!text->text().isEmpty()) {
      pw->currentFile = text->text();
      LoadShipIntoEditor(*pw, FindGameFile(EditorFolders(*pw), FileBytes(text->text())));
    }
    window->close();
  });
  QObject::connect(saveButton, &QPushButton::clicked, window, [pw, text, window] {
    const std::string name = FileBytes(text->text());
    if (!name.empty()) {
      if (!MayReplace(*pw, name)) return;  // the window stays for another name
      SaveShip(*pw, PlayerFilePath(EditorFolders(*pw), name));
    }
    window->close();
  });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  w.fileWindow = window;
  window->show();
  text->setFocus();  // ready for a name, with the proposed one kept
  return window;
}

QWidget* OpenImportWindow(EditorWindow& w) {
  if (w.importWindow) w.importWindow->close();
  QWidget* window = MakeToolWindow(w, "Form4", "Import graphics");
  auto* layout = new QHBoxLayout(window);
  QListWidget* files = MakeFileList(window, EditorFolders(w), ".bmp");
  layout->addWidget(files);
  auto* side = new QVBoxLayout();
  auto* preview = new QCheckBox("Preview", window);
  preview->setObjectName("Check1");
  auto* image = new QLabel(window);
  image->setObjectName("Image1");
  image->setFixedSize(200, 100);
  image->setScaledContents(true);
  QPushButton* ok = MakeButton(window, "Command1", "OK");
  QPushButton* cancel = MakeButton(window, "Command2", "Cancel");
  ok->setEnabled(false);
  side->addWidget(preview);
  side->addWidget(image);
  side->addWidget(ok);
  side->addWidget(cancel);
  side->addStretch(1);
  layout->addLayout(side);

  // The picture shown in Image1 and the file it came from; OK takes the picture only when it is
  // the clicked file's, so the preview never carries one file's picture under another's name.
  struct ImportState {
    QImage shown;
    QString shownFile;
    QString clicked;
  };
  auto state = std::make_shared<ImportState>();
  EditorWindow* pw = &w;
  OnFilePicked(files, window, [pw, state, preview, image, ok](const QString& name) {
    if (preview->isChecked()) {
      QImage picture;
      const auto path = FindGameFile(EditorFolders(*pw), FileBytes(name));
      if (!ReadPicture(path, &picture)) {
        ShowEditorMessage(*pw, "ERROR!", "Cannot read the picture " + name);
        return;
      }
      state->shown = picture;
      state->shownFile = name;
      image->setPixmap(QPixmap::fromImage(state->shown));
    }
    state->clicked = name;
    ok->setEnabled(true);
  });
  QObject::connect(ok, &QPushButton::clicked, window, [pw, state, window] {
    if (!state->shown.isNull() && state->shownFile == state->clicked) pw->tempp = state->shown;
    if (!state->clicked.isEmpty()) pw->pictureTag = state->clicked;
    window->close();
  });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  w.importWindow = window;
  window->show();
  return window;
}

QString VersionStatus(const std::string& firstLine) {
  switch (DetectShipVersion(firstLine)) {
    case ShipVersion::V10: return "Version 1.0 - Use convert";
    case ShipVersion::V11: return "Version 1.1 - Use convert";
    case ShipVersion::V12: return "Version 1.2 - OK";
    default: return kInvalidStatus;
  }
}

std::string ConvertedShipText(const std::vector<std::string>& oldLines) {
  const size_t count = std::min<size_t>(oldLines.size(), kConvertedLines);
  auto line = [&](size_t lineNo) { return lineNo <= count ? oldLines[lineNo - 1] : std::string(); };
  std::string out;
  auto put = [&](const std::string& s) { out += s + "\r\n"; };
  put(kShipVersion12);
  for (size_t n = 2; n <= 27; ++n) {
    if (n == 5 && LenientNumber(line(5)) == 3) {
      put(FormatFileNumber(2));
    } else {
      put(line(n));
    }
  }
  if (line(1) == kShipVersion10) {
    put("0");
    put("0");
  } else {
    put(line(28));
    put(line(29));
  }
  put("");
  put("100");
  return out;
}

bool ConvertShipFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error) {
  std::vector<std::string> lines;
  if (!ReadTextLines(from, kConvertedLines, &lines, error)) return false;
  return WriteFileAtomically(to, ConvertedShipText(lines), error);
}

QWidget* OpenConverterWindow(EditorWindow& w) {
  if (w.converterWindow) w.converterWindow->close();
  QWidget* window = MakeToolWindow(w, "Form1", "Convert");
  auto* layout = new QVBoxLayout(window);
  auto* frame = new QGroupBox("Info", window);
  frame->setObjectName("Frame1");
  auto* frameLayout = new QVBoxLayout(frame);
  QListWidget* files = MakeFileList(frame, EditorFolders(w), ".shp");
  auto* info = new QLabel("...", frame);
  info->setObjectName("info");
  frameLayout->addWidget(files);
  frameLayout->addWidget(info);
  layout->addWidget(frame);
  auto* buttons = new QHBoxLayout();
  QPushButton* conve = MakeButton(window, "conve", "Convert");
  QPushButton* all = MakeButton(window, "Command1", "Convert All");
  QPushButton* cancel = MakeButton(window, "Command2", "Cancel");
  conve->setEnabled(false);
  buttons->addWidget(conve);
  buttons->addWidget(all);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  EditorWindow* pw = &w;
  auto showStatus = [pw, info, conve](const QString& name) {
    if (name.isEmpty()) return;
    std::vector<std::string> lines;
    std::string error;
    if (!ReadTextLines(FindGameFile(EditorFolders(*pw), FileBytes(name)), 1, &lines, &error)) {
      ShowEditorMessage(*pw, "ERROR!", QString::fromStdString(error));
      return;
    }
    const QString status = VersionStatus(lines.empty() ? std::string() : lines[0]);
    info->setText(status);
    info->setStyleSheet(status == kInvalidStatus ? "color: red" : "color: black");
    conve->setEnabled(status.endsWith("Use convert"));
  };
  auto convert = [pw, info, conve, files] {
    QListWidgetItem* item = files->currentItem();
    if (!item) return false;
    const QString name = item->text();
    info->setText("Converting " + name + "...");
    std::string error;
    if (!ConvertShipFile(FindGameFile(EditorFolders(*pw), FileBytes(name)), PlayerFilePath(EditorFolders(*pw), FileBytes(name)), &error)) {
      ShowEditorMessage(*pw, "ERROR!", QString::fromStdString(error));
      return false;
    }
    info->setText("Version 1.2 - OK");
    info->setStyleSheet("color: black");
    conve->setEnabled(false);
    return true;
  };
  QObject::connect(files, &QListWidget::currentTextChanged, window, showStatus);
  QObject::connect(conve, &QPushButton::clicked, window, convert);
  QObject::connect(all, &QPushButton::clicked, window, [files, info, conve, showStatus, convert] {
    int converted = 0, invalid = 0;
    const int total = files->count();
    for (int i = 0; i < total; ++i) {
      files->setCurrentRow(i);
      showStatus(files->item(i)->text());  // also when the row was already selected
      if (info->text() == kInvalidStatus) ++invalid;
      if (conve->isEnabled() && convert()) ++converted;
      info->setText(QString::number(converted) + "/" + QString::number(total) + " files converted to v1.2\r\n" +
                    QString::number(invalid) + " invalid files found");
    }
  });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  w.converterWindow = window;
  window->show();
  return window;
}

}  // namespace quorvex::editor
