#include "game/launcher/OptionsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "game/config/ConfigFiles.h"
#include "game/launcher/WindowParts.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

// Form6's controls, kept by the lambdas of its buttons.
struct OptionsControls {
  QCheckBox *Check1, *Check2, *Check3, *Check4, *Check5, *Check6, *Check7, *Check8;
  QScrollBar *HScroll1, *HScroll2, *HScroll3, *HScroll4;
  std::array<QCheckBox*, 9> crit;
  // The game window's display (display.cfg): full screen, and sharp or smooth scaling.
  QCheckBox* fullScreen;
  QRadioButton *sharp, *smooth;
  // The computer pilot of training (pilot.cfg): easy, normal or hard.
  QComboBox* pilot;
};

constexpr const char* kCriticalNames[9] = {"Engine",           "Shield",        "Power generator",
                                           "Electrics",        "Turning",       "Missile launcher",
                                           "Repair system",    "Chaingun",      "Targeting system"};

QCheckBox* AddCheck(QWidget* frame, QGridLayout* grid, int row, int column, const char* name, const char* text) {
  auto* box = new QCheckBox(QString::fromLatin1(text), frame);
  box->setObjectName(name);
  grid->addWidget(box, row, column);
  return box;
}

// A horizontal bar with its value shown beside it as `text` gives it.
QScrollBar* AddBar(QWidget* frame, QGridLayout* grid, int row, int column, const char* name, int low, int high,
                   int design, const std::function<QString(int)>& text) {
  auto* bar = new QScrollBar(Qt::Horizontal, frame);
  bar->setObjectName(name);
  bar->setRange(low, high);
  bar->setPageStep(std::max(1, (high - low) / 10));
  bar->setMinimumWidth(180);
  auto* value = new QLabel(frame);
  value->setObjectName(QString::fromLatin1(name) + "Value");
  value->setMinimumWidth(160);
  QObject::connect(bar, &QScrollBar::valueChanged, value, [value, text](int v) { value->setText(text(v)); });
  bar->setValue(design);
  value->setText(text(design));
  grid->addWidget(bar, row, column);
  grid->addWidget(value, row, column + 1);
  return bar;
}

QGroupBox* AddFrame(QWidget* window, QVBoxLayout* column, const char* title, QGridLayout** grid) {
  auto* frame = new QGroupBox(QString::fromLatin1(title), window);
  *grid = new QGridLayout(frame);
  column->addWidget(frame);
  return frame;
}

QString Number(int v) { return QString::number(v); }

// A value from the file rounded to a whole number and held inside the bar's range.
int BarValue(double v, const QScrollBar* bar) {
  if (!(v == v)) return bar->minimum();
  return static_cast<int>(std::clamp(nearest(v), double(bar->minimum()), double(bar->maximum())));
}

OptionsControls BuildOptions(QWidget* window) {
  OptionsControls c{};
  auto* left = new QVBoxLayout();
  auto* right = new QVBoxLayout();
  QGridLayout* g = nullptr;

  QGroupBox* audio = AddFrame(window, left, "Audio", &g);
  c.Check1 = AddCheck(audio, g, 0, 0, "Check1", "Sound");
  c.HScroll4 = AddBar(audio, g, 0, 1, "HScroll4", -10000, 0, -1000,
                      [](int v) { return QString("%1 (%2 dB)").arg(v).arg(v / 100.0, 0, 'f', 2); });
  c.Check5 = AddCheck(audio, g, 1, 0, "Check5", "Music");
  c.HScroll3 = AddBar(audio, g, 1, 1, "HScroll3", 0, 255, 255, Number);

  QGroupBox* graphics = AddFrame(window, left, "Graphics", &g);
  g->addWidget(new QLabel("Moving Stars", graphics), 0, 0);
  c.HScroll1 = AddBar(graphics, g, 1, 0, "HScroll1", 0, 1000, 0, Number);
  c.Check2 = AddCheck(graphics, g, 2, 0, "Check2", "Explosion clusters");
  c.Check3 = AddCheck(graphics, g, 3, 0, "Check3", "Background zooming");
  c.Check4 = AddCheck(graphics, g, 4, 0, "Check4", "Engine trails");
  c.Check7 = AddCheck(graphics, g, 5, 0, "Check7", "Transparency effects (hardware only)");
  c.Check8 = AddCheck(graphics, g, 6, 0, "Check8", "Explosion junk");

  QGroupBox* performance = AddFrame(window, left, "Performance", &g);
  g->addWidget(new QLabel("Framerate (use to adjust game speed)", performance), 0, 0, 1, 2);
  // Reversed: the right end is the shortest delay, the fastest game. The bar holds the delay
  // negated, so its arrows, keys and clicks move the handle the way they point.
  c.HScroll2 = AddBar(performance, g, 1, 0, "HScroll2", -100, -1, -kDefaultFrameInterval,
                      [](int v) { return FrameRateText(-v); });
  QPushButton* defaultRate = MakeButton(performance, "Command2", "Default");
  g->addWidget(defaultRate, 2, 0, Qt::AlignLeft);
  QObject::connect(defaultRate, &QPushButton::clicked, c.HScroll2,
                   [bar = c.HScroll2] { bar->setValue(-kDefaultFrameInterval); });

  QGroupBox* rules = AddFrame(window, right, "Rules", &g);
  c.Check6 = AddCheck(rules, g, 0, 0, "Check6", "Gravitation field");

  QGroupBox* training = AddFrame(window, right, "Training", &g);
  g->addWidget(new QLabel("Computer pilot", training), 0, 0);
  c.pilot = new QComboBox(training);
  c.pilot->setObjectName("ComboPilot");
  c.pilot->addItems({"easy", "normal", "hard"});  // in the order of the file's values
  g->addWidget(c.pilot, 0, 1);

  QGroupBox* criticals = AddFrame(window, right, "Criticals", &g);
  for (int i = 0; i < 9; ++i) {
    const std::string name = "crit_" + std::to_string(i);
    c.crit[static_cast<size_t>(i)] = AddCheck(criticals, g, i, 0, name.c_str(), kCriticalNames[i]);
  }

  QGroupBox* display = AddFrame(window, right, "Display", &g);
  c.fullScreen = AddCheck(display, g, 0, 0, "CheckFullScreen", "Full screen (F11 switches)");
  c.sharp = new QRadioButton("Sharp pixels (whole-number scaling)", display);
  c.sharp->setObjectName("OptionSharp");
  c.smooth = new QRadioButton("Smooth scaling", display);
  c.smooth->setObjectName("OptionSmooth");
  g->addWidget(c.sharp, 1, 0);
  g->addWidget(c.smooth, 2, 0);

  right->addStretch(1);
  auto* columns = new QHBoxLayout();
  columns->addLayout(left);
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(window);
  layout->addLayout(columns);
  return c;
}

void ShowOptions(const OptionsControls& c, const Options& o) {
  c.Check1->setChecked(o.soundOn);
  c.HScroll1->setValue(BarValue(o.starCount, c.HScroll1));
  c.Check2->setChecked(o.sparksOn);
  c.Check3->setChecked(o.backgroundZoom);
  c.Check4->setChecked(o.engineTrails);
  c.Check5->setChecked(o.musicOn);
  c.HScroll2->setValue(-std::clamp(int(o.frameInterval), 1, 100));
  c.Check7->setChecked(o.effectRop != kRopSrcCopy);
  c.HScroll3->setValue(BarValue(o.musicVolume, c.HScroll3));
  c.HScroll4->setValue(BarValue(o.soundVolume, c.HScroll4));
  c.Check6->setChecked(o.gravityOn);
  c.Check8->setChecked(o.debrisOn);
  for (size_t i = 0; i < 9; ++i) c.crit[i]->setChecked(o.criticalsOn[i]);
}

void ShowDisplay(const OptionsControls& c, const DisplayConfig& d) {
  c.fullScreen->setChecked(d.fullScreen);
  (d.smooth ? c.smooth : c.sharp)->setChecked(true);
}

DisplayConfig DisplayOf(const OptionsControls& c) { return {c.fullScreen->isChecked(), c.smooth->isChecked()}; }

Options OptionsOf(const OptionsControls& c) {
  Options o;
  o.soundOn = c.Check1->isChecked();
  o.starCount = c.HScroll1->value();
  o.sparksOn = c.Check2->isChecked();
  o.backgroundZoom = c.Check3->isChecked();
  o.engineTrails = c.Check4->isChecked();
  o.musicOn = c.Check5->isChecked();
  o.frameInterval = static_cast<uint8_t>(-c.HScroll2->value());
  o.effectRop = c.Check7->isChecked() ? kRopSrcPaint : kRopSrcCopy;
  o.musicVolume = c.HScroll3->value();
  o.soundVolume = c.HScroll4->value();
  o.gravityOn = c.Check6->isChecked();
  o.debrisOn = c.Check8->isChecked();
  for (size_t i = 0; i < 9; ++i) o.criticalsOn[i] = c.crit[i]->isChecked();
  return o;
}

}  // namespace

QString FrameRateText(int frameInterval) {
  return QString("%1 ms (%2 frames per second)").arg(frameInterval).arg(std::lround(1000.0 / (frameInterval + 1)));
}

QWidget* OpenOptionsWindow(QWidget* owner, const std::filesystem::path& optionsFile) {
  QWidget* window = MakeSettingsWindow(owner, "Form6", "Quorvex - Options");
  const OptionsControls controls = BuildOptions(window);
  ShowOptions(controls, ReadOptionsFile(optionsFile));
  const std::filesystem::path displayFile = optionsFile.parent_path() / kDisplayFile;
  ShowDisplay(controls, ReadDisplayFile(displayFile));
  const std::filesystem::path pilotFile = optionsFile.parent_path() / kPilotFile;
  controls.pilot->setCurrentIndex(ReadPilotFile(pilotFile));

  auto* buttons = new QHBoxLayout();
  QPushButton* ok = MakeButton(window, "Command1", "OK");
  QPushButton* cancel = MakeButton(window, "Command3", "Cancel");
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  static_cast<QVBoxLayout*>(window->layout())->addLayout(buttons);

  QObject::connect(ok, &QPushButton::clicked, window, [window, controls, optionsFile, displayFile, pilotFile] {
    std::string error;
    if (!SaveOptionsFile(optionsFile, OptionsOf(controls), &error) ||
        !SaveDisplayFile(displayFile, DisplayOf(controls), &error) ||
        !SavePilotFile(pilotFile, controls.pilot->currentIndex(), &error)) {
      ShowSettingsError(window, error);
      return;
    }
    window->hide();  // stays loaded: the next "Game options" shows these values again
  });
  QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);
  ShowBesideOwner(window);
  return window;
}

}  // namespace quorvex
