// The editor and the files ship files name: pictures and escape ships only from the working folder,
// pictures only from regular files, numbers saved as they were loaded, read-only files left alone.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>

#include <sys/stat.h>

#include "EditorTesting.h"
#include "shipdef/ShipFile.h"

namespace quorvex::editor {
namespace {

using namespace quorvex::editor::testing;

std::vector<std::string> ShipLines(const std::string& picture, const std::string& eject) {
  return {"Ship definion 1.2", "=================", "Odd", picture, " 0 ", " 100 ", " 12 ", " 40 ", " 7 ", " 50 ",
          " 9 ", " 3 ", " 20 ", " 2 ", " 0 ", " 1 ", " 0 ", " 1 ", " 1 ", " 33 ", " 4 ", " 1 ", ":-)", " 1 ", "0",
          "0", " 0 ", " 1 ", " 0 ", eject, " 55 "};
}

TEST(EditorDataFiles, NamesOutsideTheFolderAreRefusedAndNamed) {
  const auto folder = TestFolder();
  CellSheet(3).save(QString::fromStdString((folder / "good.bmp").string()));
  std::string error;
  ASSERT_TRUE(SaveShipFile(folder / "pod.shp", ShipDefinition{}, &error)) << error;
  auto w = OpenTestEditor(folder);
  WriteText(folder / "start.shp", JoinCrLf(ShipLines("good.bmp", "pod.shp")));
  LoadShipIntoEditor(*w, folder / "start.shp");
  ASSERT_TRUE(w->messages.empty());
  const QImage picture = w->tempp;

  struct Case {
    std::string picture, eject, refused;
  } cases[] = {
      {"/etc/passwd", "", "/etc/passwd"},         {"../../etc/passwd", "", "../../etc/passwd"},
      {"/dev/zero", "", "/dev/zero"},             {"pics/good.bmp", "", "pics/good.bmp"},
      {"good.bmp", "/dev/stdin", "/dev/stdin"},   {"good.bmp", "../pod.shp", "../pod.shp"},
      {"good.bmp", "..", ".."},
  };
  for (const Case& c : cases) {
    w->messages.clear();
    w->Check1->setChecked(false);
    WriteText(folder / "odd.shp", JoinCrLf(ShipLines(c.picture, c.eject)));
    LoadShipIntoEditor(*w, folder / "odd.shp");
    ASSERT_EQ(w->messages.size(), 1u) << c.refused;
    EXPECT_EQ(w->messages[0].title, QString("LOAD ERROR!"));
    EXPECT_EQ(w->messages[0].text.toStdString(),
              "odd.shp: refused file name \"" + c.refused + "\" (only a bare file name in the program folder is allowed)");
    EXPECT_EQ(w->pictureTag, QString("good.bmp")) << "a refused picture leaves the picture as it was";
    EXPECT_EQ(w->tempp, picture);
    EXPECT_FALSE(w->Check1->isChecked()) << "a refused escape ship is not ticked";
    EXPECT_EQ(w->shipname->text(), QString("Odd")) << "the rest of the file still loads";
  }
}

// A picture that is a named pipe or a folder is passed over at once.
TEST(EditorDataFiles, PicturesOnlyFromRegularFiles) {
  const auto folder = TestFolder();
  ASSERT_EQ(0, ::mkfifo((folder / "pipe.bmp").c_str(), 0644));
  std::filesystem::create_directory(folder / "dir.bmp");
  auto w = OpenTestEditor(folder);
  const QImage before = w->tempp;
  for (const char* name : {"pipe.bmp", "dir.bmp"}) {
    EXPECT_FALSE(LoadShipPicture(*w, name)) << name;
    WriteText(folder / "p.shp", JoinCrLf(ShipLines(name, "")));
    LoadShipIntoEditor(*w, folder / "p.shp");
    EXPECT_EQ(w->pictureTag, QString(name));
    EXPECT_EQ(w->tempp, before);
  }
}

// Marks and values keep their numbers through a load and a save, in plain decimals.
TEST(EditorDataFiles, LoadAndSaveKeepTheNumbers) {
  const auto folder = TestFolder();
  std::vector<std::string> lines = ShipLines("good.bmp", "");
  lines[24] = "0.00001";
  lines[25] = "03333333333333333333";
  WriteText(folder / "marks.shp", JoinCrLf(lines));
  auto w = OpenTestEditor(folder);
  LoadShipIntoEditor(*w, folder / "marks.shp");
  ASSERT_TRUE(SaveShip(*w, folder / "again.shp"));
  const std::vector<std::string> saved = SplitLines(ReadText(folder / "again.shp"));
  ASSERT_EQ(saved.size(), 31u);
  EXPECT_EQ(saved[24], "0.00001");
  EXPECT_EQ(LenientNumber(saved[25]), LenientNumber(lines[25])) << saved[25];
  EXPECT_EQ(saved[25].find('e'), std::string::npos) << saved[25];
}

// A read-only ship is refused with a message naming it; a save killed midway leaves nothing once
// the editor opens again.
TEST(EditorDataFiles, ReadOnlyShipIsNotOverwritten) {
  const auto folder = TestFolder();
  WriteText(folder / "locked.shp", "keep");
  ::chmod((folder / "locked.shp").c_str(), 0444);
  WriteText(folder / "arrow.shp.tmp-999999999", "half");
  auto w = OpenTestEditor(folder);
  EXPECT_FALSE(std::filesystem::exists(folder / "arrow.shp.tmp-999999999"));
  EXPECT_FALSE(SaveShip(*w, folder / "locked.shp"));
  ASSERT_EQ(w->messages.size(), 1u);
  EXPECT_EQ(w->messages[0].title, QString("SAVE ERROR!"));
  EXPECT_TRUE(w->messages[0].text.contains("locked.shp")) << w->messages[0].text.toStdString();
  EXPECT_TRUE(w->messages[0].text.contains("read-only")) << w->messages[0].text.toStdString();
  EXPECT_EQ(ReadText(folder / "locked.shp"), "keep");
}

}  // namespace
}  // namespace quorvex::editor
