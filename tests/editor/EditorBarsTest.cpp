// The performance bars as a modder uses them: arrows, trough and the numbers shown beside them.
#include <QLabel>
#include <QMainWindow>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "EditorTesting.h"

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

}  // namespace
}  // namespace quorvex::editor
