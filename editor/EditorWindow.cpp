#include "editor/EditorWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include "editor/FileWindows.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/Numbers.h"
#include "platform/Surface.h"

namespace quorvex::editor {
namespace {

constexpr int kCanvasSize = 55;
constexpr int kFrameSize = 50;
// The picture box is a window onto space: black like the ship pictures' own background, so the
// strip the 50 x 50 frame leaves free reads as part of the view.
const QColor kCanvasBack(0, 0, 0);

QScrollBar* MakeBar(QWidget* parent, const char* name, int min, int max, int design, bool reversed) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(min, max);
  bar->setSingleStep(1);
  bar->setPageStep(std::max(1, (max - min) / 10));
  bar->setInvertedAppearance(reversed);  // "right is faster": the lower value sits at the right end
  bar->setValue(design);
  bar->setMinimumWidth(180);
  if (reversed) {
    // The bar steps its value up at the right arrow whichever way it is drawn; on a reversed bar
    // that would move the handle away from the arrow. Each arrow and each click into the trough
    // moves the handle toward itself, as on every other bar.
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
      const int value = bar->value();
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: bar->setSliderPosition(value - bar->singleStep()); break;
        case QAbstractSlider::SliderSingleStepSub: bar->setSliderPosition(value + bar->singleStep()); break;
        case QAbstractSlider::SliderPageStepAdd: bar->setSliderPosition(value - bar->pageStep()); break;
        case QAbstractSlider::SliderPageStepSub: bar->setSliderPosition(value + bar->pageStep()); break;
        default: break;
      }
    });
  }
  return bar;
}

QCheckBox* MakeBox(QWidget* parent, const char* name, const char* text) {
  auto* box = new QCheckBox(QString::fromLatin1(text), parent);
  box->setObjectName(name);
  return box;
}

QRadioButton* MakeOption(QWidget* parent, const char* name, const char* text) {
  auto* option = new QRadioButton(QString::fromLatin1(text), parent);
  option->setObjectName(name);
  // The editor can show no laser choice at all ("New"), so the buttons exclude each other by hand.
  option->setAutoExclusive(false);
  return option;
}

QLineEdit* MakeValueBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setMaximumWidth(40);
  return box;
}

void RefreshCanvas(EditorWindow& w) { w.Picture1->setPixmap(QPixmap::fromImage(w.canvas)); }

std::vector<QRadioButton*> LaserButtons(EditorWindow& w) { return {w.b9, w.b10, w.e2, w.jee1, w.jee4}; }

// Sets one laser option and clears the other four.
void ChooseLaser(EditorWindow& w, QRadioButton* chosen) {
  for (QRadioButton* b : LaserButtons(w)) b->setChecked(b == chosen);
}

bool R(EditorWindow& w, double p) { return w.random.Next() < p; }
int NearestOf(EditorWindow& w, double scale) { return static_cast<int>(nearest(w.random.Next() * scale)); }

// Sets a bar when the value lies inside its range; a value outside leaves the bar unchanged.
void SetBar(QScrollBar* bar, double value) {
  const double whole = nearest(value);
  if (whole >= bar->minimum() && whole <= bar->maximum()) bar->setValue(static_cast<int>(whole));
}

void BuildWindow(EditorWindow& w) {
  w.form2 = std::make_unique<QMainWindow>();
  QMainWindow* f = w.form2.get();
  f->setObjectName("form2");
  f->setWindowTitle(QString::fromLatin1(kEditorTitle));
  auto* central = new QWidget(f);
  f->setCentralWidget(central);
  auto* top = new QHBoxLayout(central);

  // Performance bars on the left with their labels.
  auto* frame = new QGroupBox(central);
  frame->setObjectName("Frame1");
  auto* grid = new QGridLayout(frame);
  int row = 0;
  auto nameLabel = new QLabel("Name:", frame);
  w.shipname = new QLineEdit("Unnamed", frame);
  w.shipname->setObjectName("shipname");
  grid->addWidget(nameLabel, row, 0);
  grid->addWidget(w.shipname, row++, 1, 1, 2);
  w.Combo1 = new QComboBox(frame);
  w.Combo1->setObjectName("Combo1");
  w.Combo1->addItems({"Tiny", "Small", "Medium", "Large!"});
  w.Combo1->setCurrentIndex(1);
  grid->addWidget(new QLabel("Size", frame), row, 0);
  grid->addWidget(w.Combo1, row++, 1);
  // Each bar shows its value beside it: the ammunition bars in their value boxes, the others in a
  // label of their own that follows the bar.
  auto addBar = [&](const char* label, QScrollBar* bar, QLineEdit* box) {
    grid->addWidget(new QLabel(QString::fromLatin1(label), frame), row, 0);
    grid->addWidget(bar, row, 1);
    if (box) {
      grid->addWidget(box, row, 2);
    } else {
      auto* value = new QLabel(QString::number(bar->value()), frame);
      value->setObjectName(bar->objectName() + "Value");
      value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      value->setMinimumWidth(value->fontMetrics().horizontalAdvance("000") + 4);
      QObject::connect(bar, &QScrollBar::valueChanged, value, [value](int v) { value->setText(QString::number(v)); });
      grid->addWidget(value, row, 2);
    }
    ++row;
  };
  addBar("Hull", w.b4 = MakeBar(frame, "b4", 1, 150, 20, false), nullptr);
  addBar("Shield", w.b5 = MakeBar(frame, "b5", 0, 150, 45, false), nullptr);
  addBar("Firespeed", w.b1 = MakeBar(frame, "b1", 1, 100, 30, true), nullptr);
  addBar("Shot Power", w.b2 = MakeBar(frame, "b2", 1, 100, 29, false), nullptr);
  addBar("Energy Rate", w.b3 = MakeBar(frame, "b3", 1, 25, 5, false), nullptr);
  addBar("Speed", w.b6 = MakeBar(frame, "b6", 1, 15, 11, false), nullptr);
  addBar("Acceleration", w.b7 = MakeBar(frame, "b7", 1, 50, 15, true), nullptr);
  addBar("Turning rate", w.b8 = MakeBar(frame, "b8", 1, 10, 5, false), nullptr);
  addBar("Missiles", w.b15 = MakeBar(frame, "b15", 0, 50, 12, false), w.Text1 = MakeValueBox(frame, "Text1"));
  addBar("Torpedos", w.b16 = MakeBar(frame, "b16", 0, 20, 0, false), w.Text2 = MakeValueBox(frame, "Text2"));
  addBar("Chaingun ammo", w.scroll1 = MakeBar(frame, "scroll1", 0, 99, 0, false),
         w.Text5 = MakeValueBox(frame, "Text5"));
  addBar("Missile delay", w.HScroll1 = MakeBar(frame, "HScroll1", 0, 100, 100, false), nullptr);
  w.Text1->setText("12");
  w.Text2->setText("0");
  w.Text5->setText("0");
  top->addWidget(frame);

  // Picture, price and equipment on the right.
  auto* right = new QVBoxLayout();
  w.Picture1 = new QLabel(central);
  w.Picture1->setObjectName("Picture1");
  w.Picture1->setFixedSize(kCanvasSize, kCanvasSize);
  w.canvas = QImage(kCanvasSize, kCanvasSize, QImage::Format_RGB32);
  w.canvas.fill(kCanvasBack);
  w.tempp = QImage(8 * kFrameSize, 4 * kFrameSize, QImage::Format_RGB32);
  w.tempp.fill(Qt::black);
  RefreshCanvas(w);
  auto* pictureRow = new QHBoxLayout();
  auto* valueBox = new QVBoxLayout();
  valueBox->addWidget(new QLabel("Ship value:", central));
  w.points = new QLabel("100", central);
  w.points->setObjectName("points");
  QFont big = w.points->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  w.points->setFont(big);
  valueBox->addWidget(w.points);
  w.lx = new QLabel("0", central);
  w.lx->setObjectName("lx");
  w.ly = new QLabel("0", central);
  w.ly->setObjectName("ly");
  w.lx->setVisible(false);
  w.ly->setVisible(false);
  pictureRow->addLayout(valueBox);
  pictureRow->addWidget(w.Picture1);
  right->addLayout(pictureRow);

  auto* lasers = new QGroupBox("Laser cannons:", central);
  auto* laserLayout = new QVBoxLayout(lasers);
  w.b9 = MakeOption(lasers, "b9", "Single");
  w.b10 = MakeOption(lasers, "b10", "2x Single");
  w.e2 = MakeOption(lasers, "e2", "Double");
  w.jee1 = MakeOption(lasers, "jee1", "3x Single");
  w.jee4 = MakeOption(lasers, "jee4", "Shotgun");
  for (QRadioButton* b : LaserButtons(w)) laserLayout->addWidget(b);
  w.b9->setChecked(true);
  right->addWidget(lasers);

  auto* equipment = new QGroupBox("Equipment", central);
  auto* eq = new QGridLayout(equipment);
  w.b11 = MakeBox(equipment, "b11", "Green laser");
  w.jee2 = MakeBox(equipment, "jee2", "Targeting system");
  w.b12 = MakeBox(equipment, "b12", "Ion cannon");
  w.b17 = MakeBox(equipment, "b17", "Repair droid");
  w.e3 = MakeBox(equipment, "e3", "Chaingun");
  w.b13 = MakeBox(equipment, "b13", "Concuss. Missiles");
  w.b14 = MakeBox(equipment, "b14", "Proton torpedos");
  w.jee3 = MakeBox(equipment, "jee3", "Twin Launchers");
  w.e1 = MakeBox(equipment, "e1", "Electro-beam");
  int i = 0;
  for (QCheckBox* b : {w.b11, w.jee2, w.b12, w.b17, w.e3, w.b13, w.b14, w.jee3, w.e1}) {
    eq->addWidget(b, i / 2, i % 2);
    ++i;
  }
  right->addWidget(equipment);
  auto* ejectRow = new QHBoxLayout();
  w.Check1 = MakeBox(central, "Check1", "Eject");
  w.Combo2 = new QComboBox(central);
  w.Combo2->setObjectName("Combo2");
  w.Combo2->setMinimumWidth(140);
  ejectRow->addWidget(w.Check1);
  ejectRow->addWidget(w.Combo2, 1);
  right->addLayout(ejectRow);

  auto* buttons = new QHBoxLayout();
  auto* randomButton = new QPushButton("Random values", central);
  randomButton->setObjectName("Command1");
  auto* importButton = new QPushButton("Import image", central);
  importButton->setObjectName("Command2");
  buttons->addWidget(randomButton);
  buttons->addWidget(importButton);
  right->addLayout(buttons);
  right->addStretch(1);
  top->addLayout(right);

  w.Timer1 = new QTimer(f);
  w.Timer1->setObjectName("Timer1");
  w.Timer1->setInterval(10);

  // Menus.
  QMenu* file = f->menuBar()->addMenu("File");
  file->setObjectName("mnuFile");
  auto addAction = [&](QMenu* menu, const char* name, const char* text, QKeySequence key) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
  };
  QAction* newAction = addAction(file, "mnuNew", "New", QKeySequence("Ctrl+N"));
  QAction* loadAction = addAction(file, "mnuLoad", "Load...", QKeySequence("Ctrl+L"));
  QAction* saveAction = addAction(file, "mnuSave", "Save...", QKeySequence("Ctrl+S"));
  file->addSeparator();
  QAction* convertAction = addAction(file, "mnuConvert", "Convert...", QKeySequence());
  file->addSeparator();
  QAction* quitAction = addAction(file, "mnuQuit", "Quit", QKeySequence());
  QAction* randomAction = f->menuBar()->addAction("Random");
  randomAction->setObjectName("mnuRandom");

  // Change handlers.
  EditorWindow* pw = &w;
  auto update = [pw] { UpdateShipValue(*pw); };
  for (QScrollBar* bar : {w.b1, w.b2, w.b3, w.b4, w.b5, w.b6, w.b7}) QObject::connect(bar, &QScrollBar::valueChanged, f, update);
  QObject::connect(w.b8, &QScrollBar::valueChanged, f, [pw](int v) {
    UpdateShipValue(*pw);
    pw->Timer1->setInterval(220 - 20 * v);
  });
  auto withText = [pw, f](QScrollBar* bar, QLineEdit* box) {
    QObject::connect(bar, &QScrollBar::valueChanged, f, [pw, box](int v) {
      UpdateShipValue(*pw);
      box->setText(QString::number(v));
    });
  };
  withText(w.b15, w.Text1);
  withText(w.b16, w.Text2);
  withText(w.scroll1, w.Text5);
  for (QCheckBox* box : {w.b12, w.b13, w.b14, w.b17, w.e1, w.e3}) QObject::connect(box, &QCheckBox::toggled, f, update);
  QObject::connect(w.Combo1, &QComboBox::currentIndexChanged, f, update);
  QObject::connect(w.Check1, &QCheckBox::toggled, f, [pw] {
    ReadEjectShipValue(*pw);
    UpdateShipValue(*pw);
  });
  QObject::connect(w.Combo2, &QComboBox::currentIndexChanged, f, [pw] {
    ReadEjectShipValue(*pw);
    UpdateShipValue(*pw);
    UpdateShipValue(*pw);
  });
  for (QRadioButton* b : LaserButtons(w)) {
    QObject::connect(b, &QRadioButton::clicked, f, [pw, b] { ChooseLaser(*pw, b); });
  }
  QObject::connect(w.HScroll1, &QScrollBar::valueChanged, f, [pw] { DrawMissileDelayMarkers(*pw); });
  QObject::connect(w.Timer1, &QTimer::timeout, f, [pw] { AnimationTick(*pw); });

  QObject::connect(randomButton, &QPushButton::clicked, f, [pw] { RandomizeShip(*pw); });
  QObject::connect(randomAction, &QAction::triggered, f, [pw] { RandomizeShip(*pw); });
  QObject::connect(importButton, &QPushButton::clicked, f, [pw] { OpenImportWindow(*pw); });
  QObject::connect(newAction, &QAction::triggered, f, [pw] { NewShip(*pw); });
  QObject::connect(loadAction, &QAction::triggered, f, [pw] { OpenFileWindow(*pw, FileWindowMode::Load); });
  QObject::connect(saveAction, &QAction::triggered, f, [pw] { OpenFileWindow(*pw, FileWindowMode::Save); });
  QObject::connect(convertAction, &QAction::triggered, f, [pw] { OpenConverterWindow(*pw); });
  QObject::connect(quitAction, &QAction::triggered, f, [f] { f->close(); });
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditor(const std::filesystem::path& folder, uint64_t seed, bool recordMessages,
                                         const std::filesystem::path& userFolder) {
  auto w = std::make_unique<EditorWindow>();
  w->folder = folder;
  w->userFolder = userFolder;
  RemoveStaleTemporaryFiles(folder);  // left by a save that was killed mid-write
  if (!userFolder.empty() && userFolder != folder) RemoveStaleTemporaryFiles(userFolder);
  w->recordMessages = recordMessages;
  w->random.Seed(seed);
  BuildWindow(*w);
  w->opening = true;
  w->frameCounter = 0;
  LoadShipPicture(*w, w->pictureTag);
  RandomizeShip(*w);
  UpdateShipValue(*w);
  FillEjectShipList(*w);
  w->opening = false;
  w->Timer1->start();
  return w;
}

QString FileText(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }

std::string FileBytes(const QString& text) { return text.toLatin1().toStdString(); }

void ShowEditorMessage(EditorWindow& w, const QString& title, const QString& text) {
  if (w.recordMessages) {
    w.messages.push_back({title, text});
    return;
  }
  QMessageBox::information(w.form2.get(), title, text);
}

bool AskEditorQuestion(EditorWindow& w, const QString& title, const QString& text) {
  if (w.recordMessages) {
    w.messages.push_back({title, text});
    return w.recordedAnswer;
  }
  return QMessageBox::question(w.form2.get(), title, text) == QMessageBox::Yes;
}

ShipDefinition ShipFromControls(const EditorWindow& w) {
  ShipDefinition d;
  d.name = FileBytes(w.shipname->text());
  d.picture = FileBytes(w.pictureTag);
  d.sizeClass = w.Combo1->currentIndex() - 1;
  d.value = w.points->text().toStdString();
  d.laserReload = w.b1->value();
  d.shotPower = w.b2->value();
  d.energyRate = w.b3->value();
  d.hull = w.b4->value();
  d.shield = w.b5->value();
  d.speed = w.b6->value();
  d.mass = w.b7->value();
  d.turningRate = w.b8->value();
  d.laserCannons = w.b9->isChecked() ? 0 : w.e2->isChecked() ? 2 : w.jee1->isChecked() ? 3 : w.jee4->isChecked() ? 4 : 1;
  d.greenLaser = w.b11->isChecked();
  d.ionCannon = w.b12->isChecked();
  d.missileLauncher = w.b13->isChecked();
  d.torpedoLauncher = w.b14->isChecked();
  d.missiles = w.b15->value();
  d.torpedoes = w.b16->value();
  d.repairDroid = w.b17->isChecked();
  d.electroGun = w.e1->isChecked();
  d.markX = w.lx->text().toStdString();
  d.markY = w.ly->text().toStdString();
  d.chaingun = w.e3->isChecked();
  d.chaingunAmmo = w.scroll1->value();
  d.targeting = w.jee2->isChecked();
  d.twinLaunchers = w.jee3->isChecked();
  d.ejectShip = w.Check1->isChecked() ? FileBytes(w.Combo2->currentText()) : std::string();
  d.launcherReload = w.HScroll1->value();
  return d;
}

void UpdateShipValue(EditorWindow& w) {
  const ShipDefinition d = ShipFromControls(w);
  const float eject = static_cast<float>(LenientNumber(w.check1Tag.toStdString()));
  w.points->setText(QString::fromStdString(ShipValueText(ShipValue(d, w.Check1->isChecked(), eject))));
}

void ReadEjectShipValue(EditorWindow& w) {
  const QString name = w.Combo2->currentText();
  if (name.isEmpty()) return;
  std::vector<std::string> lines;
  std::string error;
  const auto path = FindGameFile(EditorFolders(w), FileBytes(name));
  if (!ReadTextLines(path, kShipListLines, &lines, &error)) {
    if (!w.opening) ShowEditorMessage(w, "ERROR!", QString::fromStdString(error));
    return;
  }
  if (lines.size() < kShipListLines) {
    if (!w.opening) ShowEditorMessage(w, "ERROR!", "Ship file too short: " + name);
    return;
  }
  w.check1Tag = QString::fromStdString(ShipValueText(static_cast<float>(LenientNumber(lines[5]))));
}

void RandomizeShip(EditorWindow& w) {
  w.Combo1->setCurrentIndex(NearestOf(w, 2));
  w.b1->setValue(NearestOf(w, 99) + 1);
  w.b2->setValue(NearestOf(w, 99) + 1);
  w.b3->setValue(NearestOf(w, 24) + 1);
  w.b4->setValue(NearestOf(w, 99) + 1);
  w.b5->setValue(NearestOf(w, 100));
  w.b6->setValue(NearestOf(w, 14) + 1);
  w.b7->setValue(NearestOf(w, 49) + 1);
  w.b8->setValue(NearestOf(w, 9) + 1);
  if (R(w, 0.25)) {
    ChooseLaser(w, w.b9);
  } else if (R(w, 0.5)) {
    ChooseLaser(w, w.b10);
  } else if (R(w, 0.75)) {
    ChooseLaser(w, w.jee1);
  } else {
    ChooseLaser(w, w.e2);
  }
  for (QCheckBox* box : {w.b11, w.b12, w.b13, w.b14}) box->setChecked(R(w, 0.5));
  w.b15->setValue(NearestOf(w, 50));
  w.b16->setValue(NearestOf(w, 20));
  w.b17->setChecked(R(w, 0.5));
  w.e3->setChecked(R(w, 0.5));
  w.scroll1->setValue(NearestOf(w, 99));
  w.jee2->setChecked(R(w, 0.5));
  w.jee3->setChecked(R(w, 0.5));
}

void NewShip(EditorWindow& w) {
  w.shipname->setText("Unnamed");
  w.Combo1->setCurrentIndex(0);
  w.b1->setValue(100);
  w.b2->setValue(1);
  w.b3->setValue(1);
  w.b4->setValue(1);
  w.b5->setValue(0);
  w.b6->setValue(1);
  w.b7->setValue(50);
  w.b8->setValue(1);
  for (QRadioButton* b : {w.b9, w.b10, w.e2, w.jee1}) b->setChecked(false);
  for (QCheckBox* box : {w.b11, w.b12, w.b13, w.b14}) box->setChecked(false);
  w.b15->setValue(0);
  w.b16->setValue(0);
  w.b17->setChecked(false);
  w.e3->setChecked(false);
  w.scroll1->setValue(0);
  w.jee2->setChecked(false);
}

void AnimationTick(EditorWindow& w) {
  w.frameCounter += 1;
  if (w.frameCounter >= 32) w.frameCounter = 0;
  const int k = w.frameCounter;
  QPainter p(&w.canvas);
  p.drawImage(QRect(0, 0, kFrameSize, kFrameSize), w.tempp,
              QRect((k % 8) * kFrameSize, (k / 8) * kFrameSize, kFrameSize, kFrameSize));
  p.end();
  RefreshCanvas(w);
}

void DrawMissileDelayMarkers(EditorWindow& w) {
  w.canvas.fill(kCanvasBack);
  const double v = w.HScroll1->value();
  for (double degrees : {v + 90.0, 90.0 - v}) {
    const double theta = degrees * 3.14 / 180.0;
    const int x = nearestInt(25.0 + 22.0 * std::cos(theta));
    const int y = nearestInt(25.0 + 22.0 * std::sin(theta));
    for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < kCanvasSize && py < kCanvasSize) w.canvas.setPixel(px, py, qRgb(255, 255, 255));
    }
  }
  RefreshCanvas(w);
}

bool ReadPicture(const std::filesystem::path& path, QImage* out) {
  // Read from a regular file only (a named pipe would never end), at most the bytes of the largest
  // picture the game takes.
  constexpr size_t kMaxBytes = size_t{kMaxPictureSide} * kMaxPictureSide * 4 + 65536;
  std::string bytes;
  if (!ReadFileBytes(path, kMaxBytes, &bytes, nullptr)) return false;
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()))) return false;
  *out = image.convertToFormat(QImage::Format_RGB32);
  return true;
}

bool LoadShipPicture(EditorWindow& w, const QString& fileName) {
  const std::string name = FileBytes(fileName);
  if (!IsBareFileName(name)) return false;
  return ReadPicture(FindGameFile(EditorFolders(w), name), &w.tempp);
}

void FillEjectShipList(EditorWindow& w) {
  w.Combo2->clear();
  for (const std::string& name : ListGameFiles(EditorFolders(w), ".shp")) w.Combo2->addItem(FileText(name));
  if (w.Combo2->count() > 0) w.Combo2->setCurrentIndex(0);
}

bool SaveShip(EditorWindow& w, const std::filesystem::path& path) {
  std::string error;
  if (!SaveShipFile(path, ShipFromControls(w), &error)) {
    ShowEditorMessage(w, "SAVE ERROR!", QString::fromStdString(error));
    return false;
  }
  return true;
}

void LoadShipIntoEditor(EditorWindow& w, const std::filesystem::path& path) {
  if (path.empty()) return;
  const std::string bareName = path.filename().string();
  w.currentFile = FileText(bareName);
  std::vector<std::string> lines;
  std::string error;
  if (!ReadTextLines(ResolveFileName(path.parent_path(), bareName), kShipFileLines, &lines, &error)) {
    ShowEditorMessage(w, "LOAD ERROR!", QString::fromStdString(error));
    return;
  }
  const std::string first = lines.empty() ? std::string() : lines[0];
  const ShipVersion version = DetectShipVersion(first);
  if (version != ShipVersion::V12) {
    const bool old = version == ShipVersion::V10 || version == ShipVersion::V11;
    ShowEditorMessage(w, "LOAD ERROR!", old ? "File from old version!" : "Not a valid ship definion!");
    return;
  }
  // A file cut short leaves the controls of its missing lines as they were.
  auto has = [&](int lineNo) { return static_cast<int>(lines.size()) >= lineNo; };
  auto text = [&](int lineNo) { return lines[static_cast<size_t>(lineNo - 1)]; };
  auto number = [&](int lineNo) { return LenientNumber(text(lineNo)); };
  auto tick = [&](QCheckBox* box, int lineNo) {
    if (has(lineNo)) box->setChecked(number(lineNo) != 0);
  };
  auto numberText = [&](int lineNo) { return QString::fromStdString(NumberLineText(number(lineNo))); };
  // Pictures and escape ships are files of the folder: any other name is refused and its control
  // stays as it was.
  auto allowedName = [&](int lineNo) {
    if (text(lineNo).empty() || IsBareFileName(text(lineNo))) return true;
    ShowEditorMessage(w, "LOAD ERROR!", QString::fromStdString(RefusedNameMessage(bareName, text(lineNo))));
    return false;
  };

  if (has(3)) w.shipname->setText(FileText(text(3)));
  if (has(4) && allowedName(4)) {
    w.pictureTag = FileText(text(4));
    LoadShipPicture(w, w.pictureTag);  // a missing picture leaves the preview as it was
  }
  if (has(5)) {
    const double position = nearest(number(5)) + 1;
    if (position >= 0 && position < w.Combo1->count()) w.Combo1->setCurrentIndex(static_cast<int>(position));
  }
  if (has(6)) w.points->setText(numberText(6));
  QScrollBar* bars[] = {w.b1, w.b2, w.b3, w.b4, w.b5, w.b6, w.b7, w.b8};
  for (int i = 0; i < 8; ++i) {
    if (has(7 + i)) SetBar(bars[i], number(7 + i));
  }
  if (has(15)) {
    const double cannons = number(15);
    ChooseLaser(w, cannons == 0 ? w.b9 : cannons == 1 ? w.b10 : cannons == 3 ? w.jee1 : cannons == 4 ? w.jee4 : w.e2);
  }
  tick(w.b11, 16);
  tick(w.b12, 17);
  tick(w.b13, 18);
  tick(w.b14, 19);
  if (has(20)) SetBar(w.b15, number(20));
  if (has(21)) SetBar(w.b16, number(21));
  tick(w.b17, 22);
  tick(w.e1, 24);
  if (has(25)) w.lx->setText(numberText(25));
  if (has(26)) w.ly->setText(numberText(26));
  if (has(27)) {
    const double ammo = number(27);
    if (ammo > 0) {
      SetBar(w.scroll1, ammo);
      w.e3->setChecked(true);
    } else {
      w.e3->setChecked(false);
      w.scroll1->setValue(0);
    }
  }
  if (has(28)) w.jee2->setChecked(LenientTruth(text(28)));
  tick(w.jee3, 29);
  if (has(30) && allowedName(30)) {
    const QString eject = FileText(text(30));
    if (!eject.isEmpty()) {
      w.Check1->setChecked(true);
      const int index = w.Combo2->findText(eject, Qt::MatchExactly | Qt::MatchCaseSensitive);
      if (index >= 0) w.Combo2->setCurrentIndex(index);
    } else {
      w.Check1->setChecked(false);
    }
  }
  if (has(31)) SetBar(w.HScroll1, number(31));
}

}  // namespace quorvex::editor
