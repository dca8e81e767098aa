// The editor window through its controls: prices, random and new ships, the preview, and
// loading ship files into the controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

#include "EditorTesting.h"
#include "shipdef/ShipFile.h"

namespace quorvex::editor {
namespace {

using namespace quorvex::editor::testing;

// The design bar values on a Small ship with nothing ticked: priced at 100.
void DesignShip(EditorWindow& w) {
  NewShip(w);
  w.e1->setChecked(false);
  w.Check1->setChecked(false);
  w.Combo1->setCurrentIndex(1);
  w.b4->setValue(20);
  w.b5->setValue(45);
  w.b1->setValue(30);
  w.b2->setValue(29);
  w.b3->setValue(5);
  w.b6->setValue(11);
  w.b7->setValue(15);
  w.b8->setValue(5);
}

struct PriceCase {
  const char* name;
  std::function<void(EditorWindow&)> setup;
  const char* points;
};

TEST(EditorPrice, FollowsEveryControlThatCounts) {
  const auto folder = TestFolder();
  ShipDefinition eject;
  eject.value = "100";
  std::string error;
  ASSERT_TRUE(SaveShipFile(folder / "escape.shp", eject, &error)) << error;
  auto w = OpenTestEditor(folder);

  const std::vector<PriceCase> cases = {
      {"weakest ship is negative", [](EditorWindow& e) { NewShip(e); e.e1->setChecked(false); e.Check1->setChecked(false); }, "-50"},
      {"design values", [](EditorWindow&) {}, "100"},
      {"missiles without launcher are free", [](EditorWindow& e) { e.b15->setValue(50); e.b16->setValue(20); }, "100"},
      {"missile launcher", [](EditorWindow& e) { e.b15->setValue(0); e.b13->setChecked(true); }, "115"},
      {"missile launcher with 10 missiles", [](EditorWindow& e) { e.b15->setValue(10); e.b13->setChecked(true); }, "160"},
      {"torpedo launcher with 2 torpedos", [](EditorWindow& e) { e.b16->setValue(2); e.b14->setChecked(true); }, "130"},
      {"chaingun ammunition counts unticked", [](EditorWindow& e) { e.scroll1->setValue(10); }, "130"},
      {"chaingun box", [](EditorWindow& e) { e.e3->setChecked(true); }, "120"},
      {"electro-beam", [](EditorWindow& e) { e.e1->setChecked(true); }, "125"},
      {"ion cannon", [](EditorWindow& e) { e.b12->setChecked(true); }, "110"},
      {"repair droid", [](EditorWindow& e) { e.b17->setChecked(true); }, "115"},
      {"large hull class", [](EditorWindow& e) { e.Combo1->setCurrentIndex(3); }, "85"},
      {"unpriced equipment",
       [](EditorWindow& e) {
         e.b11->setChecked(true);
         e.jee2->setChecked(true);
         e.jee3->setChecked(true);
         e.jee4->click();
         e.HScroll1->setValue(3);
       },
       "100"},
      {"eject ship of value 100 adds 95", [](EditorWindow& e) { e.Check1->setChecked(true); }, "195"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DesignShip(*w);
    c.setup(*w);
    EXPECT_EQ(w->points->text().toStdString(), c.points);
  }
}

TEST(EditorOpening, StartsRandomWithTheShipListAndTitle) {
  const auto folder = TestFolder();
  std::string error;
  for (const char* name : {"b.shp", "A.SHP", "c.txt"}) ASSERT_TRUE(SaveShipFile(folder / name, ShipDefinition{}, &error));
  auto w = OpenTestEditor(folder, 11);
  EXPECT_EQ(w->form2->windowTitle(), QString("Quorvex Ship editor 1.2"));
  EXPECT_EQ(w->form2->objectName(), QString("form2"));
  ASSERT_EQ(w->Combo2->count(), 2);
  EXPECT_EQ(w->Combo2->itemText(0), QString("A.SHP"));
  EXPECT_EQ(w->Combo2->currentIndex(), 0);
  EXPECT_EQ(w->Picture1->size(), QSize(55, 55));
  // The same seed opens the same ship; the price shown is the price of the controls.
  auto again = OpenTestEditor(folder, 11);
  EXPECT_EQ(ShipFileText(ShipFromControls(*w)), ShipFileText(ShipFromControls(*again)));
  const float expected = ShipValue(ShipFromControls(*w), false, 0);
  EXPECT_EQ(w->points->text().toStdString(), ShipValueText(expected));
  for (const char* name : {"b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b15", "b16", "scroll1", "HScroll1"}) {
    EXPECT_NE(w->form2->findChild<QScrollBar*>(name), nullptr) << name;
  }
  for (const char* name : {"b11", "b12", "b13", "b14", "b17", "e1", "e3", "jee2", "jee3", "Check1"}) {
    EXPECT_NE(w->form2->findChild<QCheckBox*>(name), nullptr) << name;
  }
}

TEST(EditorRandom, DrawsEveryValueInOrder) {
  auto w = OpenTestEditor(TestFolder());
  w->jee4->click();
  ASSERT_TRUE(w->jee4->isChecked());
  w->random.scripted = {0.9,  0.5, 0.0, 0.99, 0.999, 0.999, 0.0, 0.5, 0.5,  // size and bars
                        0.3,  0.6, 0.7,                                     // 3x Single
                        0.1,  0.9, 0.4, 0.6,                                // b11..b14
                        0.5,  0.5, 0.2, 0.8, 0.5, 0.49, 0.5};
  RandomizeShip(*w);
  EXPECT_TRUE(w->random.scripted.empty());
  EXPECT_EQ(w->Combo1->currentIndex(), 2);
  const std::vector<std::pair<QScrollBar*, int>> bars = {{w->b1, 51}, {w->b2, 1},  {w->b3, 25},  {w->b4, 100},
                                                         {w->b5, 100}, {w->b6, 1}, {w->b7, 25},  {w->b8, 5},
                                                         {w->b15, 25}, {w->b16, 10}, {w->scroll1, 50}};
  for (auto [bar, value] : bars) EXPECT_EQ(bar->value(), value) << bar->objectName().toStdString();
  EXPECT_TRUE(w->jee1->isChecked());
  EXPECT_FALSE(w->jee4->isChecked());
  EXPECT_FALSE(w->b9->isChecked() || w->b10->isChecked() || w->e2->isChecked());
  const std::vector<std::pair<QCheckBox*, bool>> boxes = {{w->b11, true}, {w->b12, false}, {w->b13, true},
                                                          {w->b14, false}, {w->b17, true}, {w->e3, false},
                                                          {w->jee2, true}, {w->jee3, false}};
  for (auto [box, ticked] : boxes) EXPECT_EQ(box->isChecked(), ticked) << box->objectName().toStdString();
  EXPECT_EQ(w->Text1->text(), QString("25"));
  EXPECT_EQ(w->Text2->text(), QString("10"));
  EXPECT_EQ(w->Text5->text(), QString("50"));
  EXPECT_EQ(w->points->text().toStdString(), ShipValueText(ShipValue(ShipFromControls(*w), false, 0)));
}

TEST(EditorRandom, LaserChoiceNeverShotgun) {
  struct Case { std::deque<double> draws; const char* chosen; };
  const std::vector<Case> cases = {{{0.1}, "b9"}, {{0.3, 0.2}, "b10"}, {{0.3, 0.6, 0.7}, "jee1"}, {{0.3, 0.6, 0.9}, "e2"}};
  auto w = OpenTestEditor(TestFolder());
  for (const auto& c : cases) {
    w->random.scripted = {0, 0, 0, 0, 0, 0, 0, 0, 0};
    w->random.scripted.insert(w->random.scripted.end(), c.draws.begin(), c.draws.end());
    RandomizeShip(*w);
    EXPECT_TRUE(w->form2->findChild<QRadioButton*>(c.chosen)->isChecked()) << c.chosen;
    int chosen = 0;
    for (QRadioButton* b : {w->b9, w->b10, w->e2, w->jee1, w->jee4}) chosen += b->isChecked();
    EXPECT_EQ(chosen, 1) << c.chosen;
  }
}

TEST(EditorNew, WeakestValuesKeepPictureNameAndExtras) {
  auto w = OpenTestEditor(TestFolder());
  w->e1->setChecked(true);
  w->jee3->setChecked(true);
  w->HScroll1->setValue(40);
  w->jee4->click();
  w->shipname->setText("Hawk");
  w->currentFile = "hawk.shp";
  w->form2->findChild<QAction*>("mnuNew")->trigger();
  EXPECT_EQ(w->shipname->text(), QString("Unnamed"));
  EXPECT_EQ(w->Combo1->currentIndex(), 0);
  EXPECT_TRUE(w->e1->isChecked());
  EXPECT_TRUE(w->jee3->isChecked());
  EXPECT_TRUE(w->jee4->isChecked());
  EXPECT_EQ(w->HScroll1->value(), 40);
  EXPECT_EQ(w->currentFile, QString("hawk.shp"));
  // No laser choice: the file gets "2x Single".
  w->jee4->setChecked(false);
  EXPECT_EQ(ShipFromControls(*w).laserCannons, 1);
}

TEST(EditorPreview, MarkersFollowTheMissileDelay) {
  struct Case { int delay; std::vector<std::pair<int, int>> centres; };
  const std::vector<Case> cases = {{0, {{25, 47}}}, {90, {{3, 25}, {47, 25}}}};
  auto w = OpenTestEditor(TestFolder());
  const QRgb white = qRgb(255, 255, 255);
  for (const auto& c : cases) {
    w->HScroll1->setValue(c.delay == 0 ? 1 : 0);
    w->HScroll1->setValue(c.delay);
    int whitePixels = 0;
    for (int y = 0; y < 55; ++y) {
      for (int x = 0; x < 55; ++x) whitePixels += w->canvas.pixel(x, y) == white;
    }
    EXPECT_EQ(whitePixels, 4 * static_cast<int>(c.centres.size())) << c.delay;
    for (auto [x, y] : c.centres) {
      EXPECT_NE(w->canvas.pixel(x, y), white);
      for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) EXPECT_EQ(w->canvas.pixel(x + dx, y + dy), white) << c.delay;
    }
  }
}

TEST(EditorPreview, TurnsThroughAllFramesAtTheTurningRate) {
  auto w = OpenTestEditor(TestFolder());
  w->tempp = CellSheet(3);
  w->frameCounter = 29;
  const std::vector<int> shown = {30, 31, 0, 1};
  for (int k : shown) {
    AnimationTick(*w);
    EXPECT_EQ(w->frameCounter, k);
    EXPECT_EQ(w->canvas.pixel(25, 25), CellColour(w->tempp, k)) << k;
  }
  for (auto [rate, interval] : {std::pair{1, 200}, {10, 20}, {5, 120}}) {
    w->b8->setValue(rate == 1 ? 2 : 1);
    w->b8->setValue(rate);
    EXPECT_EQ(w->Timer1->interval(), interval);
  }
}

TEST(EditorLoad, RefusesOldAndForeignFilesWithoutChangingAControl) {
  struct Case { std::string firstLine; const char* message; };
  const std::vector<Case> cases = {{"Ship definion 1.0", "File from old version!"},
                                   {"Ship definion 1.1", "File from old version!"},
                                   {"ship definion 1.2", "Not a valid ship definion!"},
                                   {"Ship definion 1.2 ", "Not a valid ship definion!"},
                                   {"", "Not a valid ship definion!"}};
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  const std::string before = ShipFileText(ShipFromControls(*w));
  for (const auto& c : cases) {
    std::vector<std::string> lines(31, " 5 ");
    lines[0] = c.firstLine;
    WriteText(folder / "old.shp", JoinCrLf(lines));
    w->messages.clear();
    LoadShipIntoEditor(*w, folder / "old.shp");
    ASSERT_EQ(w->messages.size(), 1u) << c.firstLine;
    EXPECT_EQ(w->messages[0].title, QString("LOAD ERROR!"));
    EXPECT_EQ(w->messages[0].text, QString(c.message));
    EXPECT_EQ(ShipFileText(ShipFromControls(*w)), before);
  }
  w->messages.clear();
  LoadShipIntoEditor(*w, folder / "gone.shp");
  ASSERT_EQ(w->messages.size(), 1u);
  EXPECT_TRUE(w->messages[0].text.contains("gone.shp"));
  EXPECT_EQ(ShipFileText(ShipFromControls(*w)), before);
}

TEST(EditorLoad, SetsEveryControlAndSkipsWhatItCannotTake) {
  const auto folder = TestFolder();
  CellSheet(5).save(QString::fromStdString((folder / "hawk.bmp").string()));
  std::string error;
  ShipDefinition escape;
  escape.value = "40";
  ASSERT_TRUE(SaveShipFile(folder / "pod.shp", escape, &error));
  ASSERT_TRUE(SaveShipFile(folder / "aaa.shp", ShipDefinition{}, &error));
  auto w = OpenTestEditor(folder);
  const std::vector<std::string> lines = {
      "Ship definion 1.2", "=================", "Hawk", "HAWK.BMP", " 1 ", " 999 ", " 12 ", "40", " 7.6 ",
      " 500 ",  // hull beyond the bar: kept as it was
      " 9 ", " 3 ", " 20 ", " 2 ", " 7 ", " 1 ", " 0 ", " 1 ", " 1 ", " 33 ", " 4 ", " 1 ", ":-)", " 1 ", " 12 ",
      "-3", " 0 ", "True", " 2 ", "pod.shp", " 55 "};
  WriteText(folder / "hawk.shp", JoinCrLf(lines));
  const int hullBefore = w->b4->value();
  LoadShipIntoEditor(*w, folder / "hawk.shp");
  EXPECT_TRUE(w->messages.empty());
  EXPECT_EQ(w->currentFile, QString("hawk.shp"));
  EXPECT_EQ(w->shipname->text(), QString("Hawk"));
  EXPECT_EQ(w->pictureTag, QString("HAWK.BMP"));
  EXPECT_EQ(CellColour(w->tempp, 9), CellColour(CellSheet(5), 9));
  EXPECT_EQ(w->Combo1->currentIndex(), 2);
  EXPECT_EQ(w->b1->value(), 12);
  EXPECT_EQ(w->b2->value(), 40);
  EXPECT_EQ(w->b3->value(), 8);
  EXPECT_EQ(w->b4->value(), hullBefore);
  EXPECT_TRUE(w->e2->isChecked());  // line 15 of 7 chooses "Double"
  EXPECT_TRUE(w->b11->isChecked());
  EXPECT_FALSE(w->b12->isChecked());
  EXPECT_EQ(w->b15->value(), 33);
  EXPECT_EQ(w->Text1->text(), QString("33"));
  EXPECT_TRUE(w->e1->isChecked());
  EXPECT_EQ(w->lx->text(), QString("12"));
  EXPECT_EQ(w->ly->text(), QString("-3"));
  EXPECT_FALSE(w->e3->isChecked());
  EXPECT_EQ(w->scroll1->value(), 0);
  EXPECT_TRUE(w->jee2->isChecked());
  EXPECT_TRUE(w->jee3->isChecked());  // any value but 0 ticks a box
  EXPECT_TRUE(w->Check1->isChecked());
  EXPECT_EQ(w->Combo2->currentText(), QString("pod.shp"));
  EXPECT_EQ(w->check1Tag, QString("40"));
  EXPECT_EQ(w->HScroll1->value(), 55);
  const float own = ShipValue(ShipFromControls(*w), false, 0);
  EXPECT_EQ(w->points->text().toStdString(), ShipValueText(ShipValue(ShipFromControls(*w), true, 40)));
  EXPECT_NE(w->points->text().toStdString(), ShipValueText(own));

  // A file cut short and naming a missing picture changes only what it holds.
  const QImage picture = w->tempp;
  WriteText(folder / "short.shp", JoinCrLf({"Ship definion 1.2", "=================", "Stub", "none.bmp", " 0 "}));
  LoadShipIntoEditor(*w, folder / "short.shp");
  EXPECT_EQ(w->shipname->text(), QString("Stub"));
  EXPECT_EQ(w->pictureTag, QString("none.bmp"));
  EXPECT_EQ(w->tempp, picture);
  EXPECT_EQ(w->Combo1->currentIndex(), 1);
  EXPECT_EQ(w->b1->value(), 12);
  EXPECT_EQ(w->HScroll1->value(), 55);
}

TEST(EditorEject, UnreadableEjectShipKeepsTheLastValue) {
  const auto folder = TestFolder();
  std::string error;
  ShipDefinition escape;
  escape.value = "60";
  ASSERT_TRUE(SaveShipFile(folder / "a.shp", escape, &error));
  WriteText(folder / "b.shp", "Ship definion 1.2\r\n====\r\n");
  auto w = OpenTestEditor(folder);
  EXPECT_TRUE(w->messages.empty());
  w->Check1->setChecked(true);
  EXPECT_EQ(w->check1Tag, QString("60"));
  w->Combo2->setCurrentIndex(1);
  EXPECT_EQ(w->check1Tag, QString("60"));
  ASSERT_EQ(w->messages.size(), 1u);
  EXPECT_TRUE(w->messages[0].text.contains("b.shp"));
  std::filesystem::remove(folder / "a.shp");
  w->Combo2->setCurrentIndex(0);
  EXPECT_EQ(w->check1Tag, QString("60"));
  EXPECT_EQ(w->messages.size(), 2u);
}

TEST(EditorScreenshot, WindowDrawsOffscreen) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder, 3);
  w->tempp = CellSheet(1);
  AnimationTick(*w);
  w->form2->resize(760, 520);
  w->form2->show();
  const QImage shot = w->form2->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  std::filesystem::create_directories(QV_TEST_OUTPUT_DIR);
  EXPECT_TRUE(shot.save(QString(QV_TEST_OUTPUT_DIR) + "/editor_form2.png"));
  EXPECT_GE(shot.width(), 500);
}

}  // namespace
}  // namespace quorvex::editor
