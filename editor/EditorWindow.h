// The ship editor's main window form2: every value of one ship design as a control, the ship's
// price recomputed after every change, an animated preview of the ship picture, and the menus
// that open the file windows.
#pragma once
#include <QImage>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/UserFolders.h"
#include "platform/Random.h"
#include "shipdef/ShipFile.h"

class QMainWindow;
class QWidget;
class QLineEdit;
class QComboBox;
class QScrollBar;
class QRadioButton;
class QCheckBox;
class QLabel;
class QTimer;

namespace quorvex::editor {

inline constexpr const char* kEditorTitle = "Quorvex Ship editor 1.2";

struct EditorMessage {
  QString title;
  QString text;
};

struct EditorWindow {
  std::unique_ptr<QMainWindow> form2;
  std::filesystem::path folder;  // the working folder: ship files and pictures live here
  // Where ships are saved when the program folder is read-only (installed); empty: `folder`.
  std::filesystem::path userFolder;

  QLineEdit* shipname = nullptr;
  QComboBox* Combo1 = nullptr;  // size
  QComboBox* Combo2 = nullptr;  // eject ship
  QScrollBar *b1 = nullptr, *b2 = nullptr, *b3 = nullptr, *b4 = nullptr, *b5 = nullptr, *b6 = nullptr,
             *b7 = nullptr, *b8 = nullptr, *b15 = nullptr, *b16 = nullptr, *scroll1 = nullptr,
             *HScroll1 = nullptr;
  QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text5 = nullptr;
  QRadioButton *b9 = nullptr, *b10 = nullptr, *e2 = nullptr, *jee1 = nullptr, *jee4 = nullptr;
  QCheckBox *b11 = nullptr, *b12 = nullptr, *b13 = nullptr, *b14 = nullptr, *b17 = nullptr, *e1 = nullptr,
            *e3 = nullptr, *jee2 = nullptr, *jee3 = nullptr, *Check1 = nullptr;
  QLabel *points = nullptr, *lx = nullptr, *ly = nullptr;
  QLabel* Picture1 = nullptr;  // shows `canvas`
  QTimer* Timer1 = nullptr;

  QImage canvas;                         // the 55 x 55 picture box
  QImage tempp;                          // the ship sheet: 8 x 4 frames of 50 x 50
  QString pictureTag = "trekkie.bmp";    // line 4
  QString check1Tag = "0";               // value of the eject ship
  QString currentFile = "noname.shp";    // proposed by the load and save windows
  int frameCounter = 0;

  Random random;
  bool recordMessages = false;  // tests record message boxes instead of showing them
  bool recordedAnswer = false;  // and answer every question so
  std::vector<EditorMessage> messages;
  bool opening = false;

  QPointer<QWidget> fileWindow;       // Form5
  QPointer<QWidget> importWindow;     // Form4
  QPointer<QWidget> converterWindow;  // Form1
};

// Builds form2 and runs its opening: random ship, price, eject ship list.
// The stock folder and the player's folder, for the lookups of UserFolders.h.
inline GameFolders EditorFolders(const EditorWindow& w) {
  return {w.folder, w.userFolder.empty() ? w.folder : w.userFolder};
}

std::unique_ptr<EditorWindow> OpenEditor(const std::filesystem::path& folder, uint64_t seed, bool recordMessages,
                                         const std::filesystem::path& userFolder = {});

void ShowEditorMessage(EditorWindow& w, const QString& title, const QString& text);
// A Yes/No question; true for Yes.
bool AskEditorQuestion(EditorWindow& w, const QString& title, const QString& text);

// Ship files, and the file names they hold and the folder lists, are 8-bit text: each byte is one
// character both ways, so whatever the editor reads it writes back byte for byte.
QString FileText(const std::string& bytes);
std::string FileBytes(const QString& text);

void UpdateShipValue(EditorWindow& w);
void RandomizeShip(EditorWindow& w);
void NewShip(EditorWindow& w);
// Reads the eject ship's value into the Check1 tag (keeps the old tag when the file cannot be read).
void ReadEjectShipValue(EditorWindow& w);
void AnimationTick(EditorWindow& w);
void DrawMissileDelayMarkers(EditorWindow& w);
// Reads a picture from a regular file; false when it cannot be read or is no picture.
bool ReadPicture(const std::filesystem::path& path, QImage* out);
// Loads a ship picture of the working folder into tempp; false when the name is not a bare file
// name or the file cannot be read.
bool LoadShipPicture(EditorWindow& w, const QString& fileName);
void FillEjectShipList(EditorWindow& w);

// The design as the controls hold it, as the writer writes it.
ShipDefinition ShipFromControls(const EditorWindow& w);
// Writes the ship file atomically; a failure is reported in a message box naming the file.
bool SaveShip(EditorWindow& w, const std::filesystem::path& path);
void LoadShipIntoEditor(EditorWindow& w, const std::filesystem::path& path);

}  // namespace quorvex::editor
