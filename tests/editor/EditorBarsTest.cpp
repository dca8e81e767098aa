// The performance bars as a modder uses them: arrows, trough and the numbers shown beside them.
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "EditorTesting.h"
#include "shipdef/ShipFile.h"

namespace quorvex::editor {
namespace {

using namespace quorvex::editor::testing;

// The parts of a bar as the style draws them.
QRect Part(QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider opt;
  opt.initFrom(bar);
  opt.subControls = QStyle::SC_All;
  opt.orientation = bar->orientation();
  opt.minimum = bar->minimum();
  opt.maximum = bar->maximum();
  opt.sliderPosition = bar->sliderPosition();
  opt.sliderValue = bar->value();
  opt.singleStep = bar->singleStep();
  opt.pageStep = bar->pageStep();
  opt.upsideDown = bar->invertedAppearance();
  opt.state |= QStyle::State_Horizontal;
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

int HandleX(QScrollBar* bar) { return Part(bar, QStyle::SC_ScrollBarSlider).center().x(); }

void Click(QScrollBar* bar, QPoint at) { QTest::mouseClick(bar, Qt::LeftButton, {}, at); }

struct Push {
  const char* what;
  std::function<QPoint(QScrollBar*)> where;
  int direction;  // where the handle must go: -1 left, +1 right
  bool page;      // a click into the trough moves a page, an arrow one step
};

// Every bar, the reversed "Firespeed" and "Acceleration" too: an arrow moves the handle toward
// itself by one step per click, and a click into the trough moves it a page toward the click.
TEST(EditorBars, ArrowsAndTroughMoveTheHandleTowardTheClick) {
  auto w = OpenTestEditor(TestFolder());
  w->form2->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w->form2.get()));
  const std::vector<Push> pushes = {
      {"right arrow", [](QScrollBar* b) { return Part(b, QStyle::SC_ScrollBarAddLine).center(); }, +1, false},
      {"left arrow", [](QScrollBar* b) { return Part(b, QStyle::SC_ScrollBarSubLine).center(); }, -1, false},
      {"trough right of the handle", [](QScrollBar* b) { return Part(b, QStyle::SC_ScrollBarAddPage).center(); }, +1, true},
      {"trough left of the handle", [](QScrollBar* b) { return Part(b, QStyle::SC_ScrollBarSubPage).center(); }, -1, true},
  };
  for (QScrollBar* bar : {w->b1, w->b2, w->b3, w->b4, w->b5, w->b6, w->b7, w->b8, w->b15, w->b16, w->scroll1, w->HScroll1}) {
    const int toTheRight = bar == w->b1 || bar == w->b7 ? -1 : 1;  // reversed: the right end is 1
    for (const Push& p : pushes) {
      SCOPED_TRACE(bar->objectName().toStdString() + ", " + p.what);
      bar->setValue((bar->minimum() + bar->maximum()) / 2);
      const int value = bar->value();
      const int x = HandleX(bar);
      Click(bar, p.where(bar));
      EXPECT_EQ(bar->value(), value + toTheRight * p.direction * (p.page ? bar->pageStep() : 1));
      for (int i = 0; i < 9 && !p.page; ++i) Click(bar, p.where(bar));  // far enough to move a pixel
      EXPECT_EQ(HandleX(bar) > x ? 1 : HandleX(bar) < x ? -1 : 0, p.direction) << "toward the click";
    }
  }
}

// A modder sees every bar's value as a number beside the bar, whatever set it.
TEST(EditorBars, EachBarShowsItsValueBesideIt) {
  const auto folder = TestFolder();
  auto w = OpenTestEditor(folder);
  w->form2->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w->form2.get()));
  auto shown = [&](QScrollBar* bar) -> QWidget* {
    if (bar == w->b15) return w->Text1;
    if (bar == w->b16) return w->Text2;
    if (bar == w->scroll1) return w->Text5;
    return w->form2->findChild<QLabel*>(bar->objectName() + "Value");
  };
  auto text = [](QWidget* display) {
    if (auto* box = qobject_cast<QLineEdit*>(display)) return box->text();
    return qobject_cast<QLabel*>(display)->text();
  };
  for (QScrollBar* bar : {w->b1, w->b2, w->b3, w->b4, w->b5, w->b6, w->b7, w->b8, w->b15, w->b16, w->scroll1, w->HScroll1}) {
    SCOPED_TRACE(bar->objectName().toStdString());
    QWidget* display = shown(bar);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(text(display), QString::number(bar->value())) << "after opening";
    for (int v : {bar->minimum(), bar->maximum(), (bar->minimum() + bar->maximum()) / 2}) {
      bar->setValue(v);
      EXPECT_EQ(text(display), QString::number(v));
    }
    const QRect barBox(bar->mapTo(w->form2.get(), QPoint(0, 0)), bar->size());
    const QRect displayBox(display->mapTo(w->form2.get(), QPoint(0, 0)), display->size());
    EXPECT_GE(displayBox.left(), barBox.right()) << "right of the bar";
    EXPECT_TRUE(displayBox.top() <= barBox.center().y() && barBox.center().y() <= displayBox.bottom()) << "on its row";
  }
  // A loaded ship shows its own values.
  ShipDefinition ship;
  ship.hull = 57;
  ship.laserReload = 12;
  ASSERT_TRUE(SaveShipFile(folder / "hull.shp", ship, nullptr));
  LoadShipIntoEditor(*w, folder / "hull.shp");
  EXPECT_EQ(text(shown(w->b4)), "57");
  EXPECT_EQ(text(shown(w->b1)), "12");
}

// The 55 x 55 picture box shows the 50 x 50 frame on the black of space: the strip beside and
// below the frame is the same black as the ship pictures' background, with or without markers.
TEST(EditorBars, ThePreviewFrameSitsOnSpace) {
  auto w = OpenTestEditor(TestFolder());
  w->tempp = QImage(400, 200, QImage::Format_RGB32);
  w->tempp.fill(Qt::black);
  w->tempp.setPixel(25, 25, qRgb(200, 60, 60));  // a one-pixel ship in frame 0
  const QRgb space = w->tempp.pixel(0, 0);
  for (const char* step : {"markers", "frame"}) {
    SCOPED_TRACE(step);
    if (std::string(step) == "markers") {
      w->HScroll1->setValue(40);
    } else {
      w->frameCounter = 31;
      AnimationTick(*w);
    }
    int other = 0;
    for (int y = 0; y < 55; ++y)
      for (int x = 0; x < 55; ++x) other += (x >= 50 || y >= 50) && w->canvas.pixel(x, y) != space;
    EXPECT_EQ(other, 0);
  }
  EXPECT_EQ(w->canvas.pixel(25, 25), qRgb(200, 60, 60));
}

}  // namespace
}  // namespace quorvex::editor
