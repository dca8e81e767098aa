// The editor's file windows: saving and loading through Form5, the converter Form1 and the
// picture import Form4, driven through their buttons and lists the way a user drives them.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "EditorTesting.h"
#include "editor/FileWindows.h"
#include "shipdef/ShipFile.h"

namespace quorvex::editor {
namespace {

using namespace quorvex::editor::testing;

template <typename T>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

void SelectFile(QWidget* window, const QString& name) {
  auto* list = Child<QListWidget>(window, "File1");
  const auto found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name.toStdString();
  list->setCurrentItem(found[0]);
}

void Trigger(EditorWindow& w, const char* action) { w.form2->findChild<QAction*>(action)->trigger(); }

void SaveThroughWindow(EditorWindow& w, const QString& name) {
  Trigger(w, "mnuSave");
  QPointer<QWidget> window = w.fileWindow;
  ASSERT_TRUE(window);
  Child<QLineEdit>(window, "Text1")->setText(name);
  Child<QPushButton>(window, "Command1")->click();
  EXPECT_FALSE(window && window->isVisible());
}

void LoadThroughWindow(EditorWindow& w, const QString& name) {
  Trigger(w, "mnuLoad");
  QPointer<QWidget> window = w.fileWindow;
  ASSERT_TRUE(window);
  SelectFile(window, name);
  Child<QPushButton>(window, "Command3")->click();
  EXPECT_FALSE(window && window->isVisible());
}

TEST(EditorFiles, SaveThenLoadGivesTheSameFileByteForByte) {
  struct Case { uint64_t seed; bool shotgun; bool eject; int delay; };
  const std::vector<Case> cases = {{1, false, false, 100}, {2, true, true, 0}, {77, false, true, 37}, {1234, true, false, 5}};
  const auto folder = TestFolder();
  std::string error;
  ShipDefinition pod;
  pod.value = "35";
  ASSERT_TRUE(SaveShipFile(folder / "pod.shp", pod, &error));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seed);
    std::filesystem::remove(folder / "first.shp");  // a new file: replacing another ship's would ask
    auto w = OpenTestEditor(folder, c.seed);
    w->shipname->setText(QString("Ship %1").arg(c.seed));
    if (c.shotgun) w->jee4->click();
    w->Combo2->setCurrentIndex(w->Combo2->findText("pod.shp"));
    w->Check1->setChecked(c.eject);
    w->HScroll1->setValue(c.delay);
    w->lx->setText("4");
    // Ammunition without the chaingun box is priced but not written, so it cannot come back.
    if (!w->e3->isChecked()) w->scroll1->setValue(0);
    SaveThroughWindow(*w, "first.shp");
    const std::string first = ReadText(folder / "first.shp");
    EXPECT_EQ(SplitLines(first).size(), 31u);
    EXPECT_EQ(SplitLines(first)[5], w->points->text().toStdString());

    RandomizeShip(*w);
    NewShip(*w);
    w->Check1->setChecked(!c.eject);
    w->HScroll1->setValue(50);
    w->lx->setText("0");
    LoadThroughWindow(*w, "first.shp");
    EXPECT_EQ(w->currentFile, QString("first.shp"));
    ASSERT_TRUE(SaveShip(*w, folder / "second.shp"));
    EXPECT_EQ(ReadText(folder / "second.shp"), first);
    EXPECT_TRUE(w->messages.empty());
  }
}

// Ship files from other installations are 8-bit text, down to their file names: loaded and saved
// again, a ship whose name, picture and eject ship hold such characters keeps every byte.
TEST(EditorFiles, EightBitTextsAndFileNamesKeepTheirBytes) {
  const auto folder = TestFolder();
  const std::string name = "K\xE4mpfer", picture = "k\xE4mpfer.bmp", eject = "fl\xFCgel.shp";
  const QImage sheet = CellSheet(9);
  ASSERT_TRUE(sheet.save(QString::fromStdString((folder / "sheet.bmp").string())));
  std::filesystem::rename(folder / "sheet.bmp", folder / picture);
  ShipDefinition escape;
  escape.value = "40";
  ASSERT_TRUE(SaveShipFile(folder / eject, escape, nullptr));
  ShipDefinition ship;
  ship.name = name;
  ship.picture = picture;
  ship.ejectShip = eject;
  ship.hull = 57;
  ship.laserReload = 12;
  ship.value = ShipValueText(ShipValue(ship, true, 40));
  const std::filesystem::path file = folder / (name + ".shp");
  ASSERT_TRUE(SaveShipFile(file, ship, nullptr));
  const std::string original = ReadText(file);

  auto w = OpenTestEditor(folder);
  EXPECT_GE(w->Combo2->findText(FileText(eject)), 0) << "the eject list holds the file";
  LoadThroughWindow(*w, FileText(name + ".shp"));
  EXPECT_EQ(CellColour(w->tempp, 3), CellColour(sheet, 3)) << "the picture was found";
  EXPECT_EQ(FileBytes(w->Combo2->currentText()), eject);
  std::filesystem::remove(file);
  Trigger(*w, "mnuSave");
  QPointer<QWidget> save = w->fileWindow;
  ASSERT_TRUE(save);
  Child<QPushButton>(save, "Command1")->click();  // under the proposed name, the ship's own
  EXPECT_EQ(ReadText(file), original);
  EXPECT_TRUE(w->messages.empty());
}

TEST(EditorFiles, AmmunitionWithoutChaingunIsPricedButNotKept) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  w->e3->setChecked(false);
  w->scroll1->setValue(0);
  const std::string without = w->points->text().toStdString();
  w->scroll1->setValue(20);
  const std::string with = w->points->text().toStdString();
  EXPECT_NE(with, without);
  ASSERT_TRUE(SaveShip(*w, folder / "ammo.shp"));
  const std::vector<std::string> lines = SplitLines(ReadText(folder / "ammo.shp"));
  EXPECT_EQ(lines[5], with);
  EXPECT_EQ(lines[26], " 0 ");
  LoadShipIntoEditor(*w, folder / "ammo.shp");
  EXPECT_EQ(w->scroll1->value(), 0);
  EXPECT_FALSE(w->e3->isChecked());
  EXPECT_EQ(w->points->text().toStdString(), without);
}

TEST(EditorFiles, WindowsProposeTheRightNames) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  w->shipname->setText("Falcon");
  Trigger(*w, "mnuSave");
  QPointer<QWidget> save = w->fileWindow;
  EXPECT_EQ(save->windowTitle(), QString("Save file as..."));
  EXPECT_EQ(Child<QLineEdit>(save, "Text1")->text(), QString("Falcon.shp"));
  EXPECT_FALSE(Child<QPushButton>(save, "Command1")->isHidden());
  EXPECT_TRUE(Child<QPushButton>(save, "Command3")->isHidden());
  Child<QLineEdit>(save, "Text1")->setText("other.shp");
  Child<QPushButton>(save, "Command1")->click();
  EXPECT_TRUE(std::filesystem::exists(folder / "other.shp"));

  // Saving under a new name does not change the name the next "Load..." proposes.
  Trigger(*w, "mnuLoad");
  QPointer<QWidget> load = w->fileWindow;
  EXPECT_EQ(load->windowTitle(), QString("Load file..."));
  EXPECT_EQ(Child<QLineEdit>(load, "Text1")->text(), QString("noname.shp"));
  EXPECT_TRUE(Child<QPushButton>(load, "Command1")->isHidden());
  SelectFile(load, "other.shp");
  EXPECT_EQ(Child<QLineEdit>(load, "Text1")->text(), QString("other.shp"));
  Child<QPushButton>(load, "Command2")->click();
  EXPECT_EQ(w->currentFile, QString("noname.shp"));
  EXPECT_FALSE(load && load->isVisible());
}

// Under a window manager the file list takes the focus and makes its first file current: the name
// proposed stays the ship's. Saving over a file of another ship asks first, naming both ships (No
// keeps the file and the window); a file of the same ship is saved over without a question.
TEST(EditorFiles, SaveProposesTheShipNameAndAsksBeforeReplacingAnotherShip) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  w->shipname->setText("Arrow");
  SaveThroughWindow(*w, "arrow.shp");
  w->shipname->setText("Hornet");
  const struct {
    const char* file;
    bool answer;
    bool asked;
    const char* held;  // the ship in the file afterwards
  } cases[] = {
      {"arrow.shp", false, true, "Arrow"},
      {"arrow.shp", true, true, "Hornet"},
      {"arrow.shp", false, false, "Hornet"},  // now the same ship
      {"Hornet.shp", false, false, "Hornet"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.answer ? " yes" : " no"));
    w->messages.clear();
    w->recordedAnswer = c.answer;
    Trigger(*w, "mnuSave");
    QPointer<QWidget> window = w->fileWindow;
    ASSERT_TRUE(window);
    auto* files = Child<QListWidget>(window, "File1");
    ASSERT_GT(files->count(), 0);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(files, &focus);
    auto* text = Child<QLineEdit>(window, "Text1");
    EXPECT_EQ(text->text(), QString("Hornet.shp"));
    text->setText(c.file);
    Child<QPushButton>(window, "Command1")->click();
    ASSERT_EQ(w->messages.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_TRUE(w->messages[0].text.contains("\"Arrow\"") && w->messages[0].text.contains("\"Hornet\""))
          << w->messages[0].text.toStdString();
    }
    EXPECT_EQ(window && window->isVisible(), c.asked && !c.answer) << "No keeps the window for another name";
    if (window) window->close();
    EXPECT_NE(ReadText(folder / c.file).find("\r\n" + std::string(c.held) + "\r\n"), std::string::npos);
  }
}

TEST(EditorFiles, SaveIntoAnUnwritablePlaceKeepsTheOldFileAndSays) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  std::filesystem::create_directories(folder / "taken.shp");
  EXPECT_FALSE(SaveShip(*w, folder / "taken.shp"));
  ASSERT_EQ(w->messages.size(), 1u);
  EXPECT_TRUE(w->messages[0].text.contains("taken.shp"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.shp"));
}

std::vector<std::string> OldShipLines(const char* version, int count, const std::string& size) {
  std::vector<std::string> lines;
  lines.push_back(version);
  for (int n = 2; n <= count; ++n) lines.push_back(n == 5 ? size : " " + std::to_string(n) + " ");
  return lines;
}

TEST(EditorConverter, RewritesOldFilesAsCurrentOnes) {
  struct Case { const char* version; int lines; std::string size; std::string sizeAfter; };
  const std::vector<Case> cases = {
      {kShipVersion10, 27, " 3 ", " 2 "}, {kShipVersion10, 27, "-1 ", "-1 "}, {kShipVersion10, 27, " 0 ", " 0 "},
      {kShipVersion11, 29, " 1 ", " 1 "}, {kShipVersion11, 29, " 2 ", " 2 "}, {kShipVersion11, 29, "3", " 2 "},
      {kShipVersion11, 20, " 1 ", " 1 "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " lines " + std::to_string(c.lines) + " size " + c.size);
    const auto old = OldShipLines(c.version, c.lines, c.size);
    const std::vector<std::string> out = SplitLines(ConvertedShipText(old));
    ASSERT_EQ(out.size(), 31u);
    EXPECT_EQ(out[0], kShipVersion12);
    EXPECT_EQ(out[4], c.sizeAfter);
    for (int n = 2; n <= 29; ++n) {
      if (n == 5) continue;
      std::string expected;
      if (n <= c.lines) expected = old[static_cast<size_t>(n - 1)];
      if (n >= 28 && c.version == std::string(kShipVersion10)) expected = "0";
      EXPECT_EQ(out[static_cast<size_t>(n - 1)], expected) << n;
    }
    EXPECT_EQ(out[29], "");
    EXPECT_EQ(out[30], "100");
  }
}

TEST(EditorConverter, StatusOfEachFile) {
  const auto folder = TestFolder();
  WriteText(folder / "a.shp", JoinCrLf(OldShipLines(kShipVersion10, 27, " 0 ")));
  WriteText(folder / "b.shp", JoinCrLf(OldShipLines(kShipVersion11, 29, " 0 ")));
  std::string error;
  ASSERT_TRUE(SaveShipFile(folder / "c.shp", ShipDefinition{}, &error));
  WriteText(folder / "d.shp", "hello\r\n");
  WriteText(folder / "e.shp", "");
  auto w = OpenTestEditor(folder);
  Trigger(*w, "mnuConvert");
  QPointer<QWidget> window = w->converterWindow;
  ASSERT_TRUE(window);
  auto* info = Child<QLabel>(window, "info");
  auto* conve = Child<QPushButton>(window, "conve");
  EXPECT_EQ(info->text(), QString("..."));
  EXPECT_FALSE(conve->isEnabled());
  struct Case { const char* file; const char* status; bool convert; };
  const std::vector<Case> cases = {{"a.shp", "Version 1.0 - Use convert", true},
                                   {"b.shp", "Version 1.1 - Use convert", true},
                                   {"c.shp", "Version 1.2 - OK", false},
                                   {"d.shp", "Ivalid file! - Please remove", false},
                                   {"e.shp", "Ivalid file! - Please remove", false}};
  for (const auto& c : cases) {
    SelectFile(window, c.file);
    EXPECT_EQ(info->text(), QString(c.status)) << c.file;
    EXPECT_EQ(conve->isEnabled(), c.convert) << c.file;
    EXPECT_EQ(info->styleSheet().contains("red"), std::string(c.status).starts_with("Ivalid")) << c.file;
  }
  SelectFile(window, "b.shp");
  conve->click();
  EXPECT_EQ(info->text(), QString("Version 1.2 - OK"));
  EXPECT_FALSE(conve->isEnabled());
  ShipDefinition read;
  EXPECT_EQ(ReadShipDefinition(folder / "b.shp", &read), ShipReadStatus::Ok);
  EXPECT_TRUE(w->messages.empty());
}

TEST(EditorConverter, ConvertAllCountsAsItGoes) {
  const auto folder = TestFolder();
  for (const char* name : {"old1.shp", "old2.shp", "old3.shp"}) {
    WriteText(folder / name, JoinCrLf(OldShipLines(kShipVersion10, 27, " 3 ")));
  }
  std::string error;
  ASSERT_TRUE(SaveShipFile(folder / "new1.shp", ShipDefinition{}, &error));
  ASSERT_TRUE(SaveShipFile(folder / "new2.shp", ShipDefinition{}, &error));
  const std::string current = ReadText(folder / "new1.shp");
  WriteText(folder / "alien.shp", "MZ garbage\r\n");
  auto w = OpenTestEditor(folder);
  Trigger(*w, "mnuConvert");
  QPointer<QWidget> window = w->converterWindow;
  Child<QPushButton>(window, "Command1")->click();
  EXPECT_EQ(Child<QLabel>(window, "info")->text(), QString("3/6 files converted to v1.2\r\n1 invalid files found"));
  for (const char* name : {"old1.shp", "old2.shp", "old3.shp"}) {
    const std::vector<std::string> lines = SplitLines(ReadText(folder / name));
    ASSERT_EQ(lines.size(), 31u) << name;
    EXPECT_EQ(lines[0], kShipVersion12);
    EXPECT_EQ(lines[4], " 2 ");
  }
  EXPECT_EQ(ReadText(folder / "new1.shp"), current);
  EXPECT_EQ(ReadText(folder / "alien.shp"), "MZ garbage\r\n");
  // Converted files load into the editor.
  LoadShipIntoEditor(*w, folder / "old1.shp");
  EXPECT_TRUE(w->messages.empty());
  Child<QPushButton>(window, "Command2")->click();
  EXPECT_FALSE(window && window->isVisible());
}

TEST(EditorImport, PreviewDecidesWhetherThePictureComesAlong) {
  struct Case { bool preview; bool pictureChanges; };
  for (const Case c : {Case{false, false}, Case{true, true}}) {
    SCOPED_TRACE(c.preview);
    const auto folder = TestFolder();
    CellSheet(10).save(QString::fromStdString((folder / "one.bmp").string()));
    CellSheet(90).save(QString::fromStdString((folder / "Two.BMP").string()));
    auto w = OpenTestEditor(folder);
    const QImage before = w->tempp;
    Child<QPushButton>(w->form2.get(), "Command2")->click();
    QPointer<QWidget> window = w->importWindow;
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), QString("Import graphics"));
    auto* ok = Child<QPushButton>(window, "Command1");
    EXPECT_FALSE(ok->isEnabled());
    Child<QCheckBox>(window, "Check1")->setChecked(c.preview);
    SelectFile(window, "Two.BMP");
    EXPECT_TRUE(ok->isEnabled());
    ok->click();
    EXPECT_EQ(w->pictureTag, QString("Two.BMP"));
    if (c.pictureChanges) {
      EXPECT_EQ(CellColour(w->tempp, 17), CellColour(CellSheet(90), 17));
    } else {
      EXPECT_EQ(w->tempp, before);
    }
    EXPECT_FALSE(window && window->isVisible());
  }
}

TEST(EditorImport, APreviewOfAnotherFileIsNotTaken) {
  const auto folder = TestFolder();
  CellSheet(10).save(QString::fromStdString((folder / "one.bmp").string()));
  CellSheet(90).save(QString::fromStdString((folder / "two.bmp").string()));
  WriteText(folder / "broken.bmp", "BM nothing here");
  auto w = OpenTestEditor(folder);
  const QImage before = w->tempp;
  QWidget* window = OpenImportWindow(*w);
  auto* preview = Child<QCheckBox>(window, "Check1");
  preview->setChecked(true);
  SelectFile(window, "broken.bmp");
  ASSERT_EQ(w->messages.size(), 1u);
  EXPECT_TRUE(w->messages[0].text.contains("broken.bmp"));
  EXPECT_FALSE(Child<QPushButton>(window, "Command1")->isEnabled());
  SelectFile(window, "one.bmp");
  preview->setChecked(false);
  SelectFile(window, "two.bmp");
  Child<QPushButton>(window, "Command1")->click();
  EXPECT_EQ(w->pictureTag, QString("two.bmp"));
  EXPECT_EQ(w->tempp, before);
}

}  // namespace
}  // namespace quorvex::editor
