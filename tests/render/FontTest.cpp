#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/render/BattleTexts.h"
#include "game/render/Font.h"
#include "tests/render/RenderFixture.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::CountLitPixels;

constexpr uint16_t kPaper = 0x1234;  // what the back surface holds before the text

enum class Set { Large, Small, Highlighted };

// The sheet cell of a glyph, written out from the font sheet's layout.
Rect Cell(int glyph, Set set) {
  const int row2 = glyph >= 27, col = row2 ? glyph - 27 : glyph;
  switch (set) {
    case Set::Large: return {26 * col, row2 ? 26 : 0, 26 * col + 26, row2 ? 52 : 26};
    case Set::Small: return {13 * col, row2 ? 66 : 53, 13 * col + 13, row2 ? 79 : 66};
    case Set::Highlighted: return {13 * col, row2 ? 92 : 79, 13 * col + 13, row2 ? 103 : 91};
  }
  return {};
}

// The back surface shows `cell` of the font sheet with its top left at (x, y), keyed: where the sheet is
// black the paper shows. `columns` limits the check to the part of the cell not covered by a later glyph.
// Where the cell is black, `under` says what shows: the paper, or (over the column a large glyph shares
// with the one before) anything.
enum class Under { Paper, Anything };
::testing::AssertionResult ShowsCell(const GameWindow& w, int x, int y, const Rect& cell, int columns = 99,
                                     Under firstColumn = Under::Paper) {
  for (int dy = 0; dy < cell.height(); ++dy) {
    for (int dx = 0; dx < std::min(columns, cell.width()); ++dx) {
      const uint16_t src = w.fontSheet.pixel(cell.left + dx, cell.top + dy);
      if (src == 0 && dx == 0 && firstColumn == Under::Anything) continue;
      const uint16_t want = src == 0 ? kPaper : src;
      const uint16_t got = w.back.pixel(x + dx, y + dy);
      if (got != want) {
        return ::testing::AssertionFailure() << "at (" << x + dx << ", " << y + dy << ") got " << got
                                             << ", expected " << want << " from sheet (" << cell.left + dx << ", "
                                             << cell.top + dy << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

struct FontTest : ::testing::Test {
  GameWindow w;
  void SetUp() override {
    testing::SetUpTestWindow(w);
    w.back.BltColorFill({0, 0, 800, 600}, kPaper);
  }
  int PaperlessPixels(const Rect& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += w.back.pixel(x, y) != kPaper;
    }
    return n;
  }
};

TEST_F(FontTest, TextsTakeTheirGlyphsFromTheTable) {
  struct Case {
    std::string text;
    Set set;
    std::vector<int> glyphs;
  } cases[] = {
      {"wave", Set::Small, {21, 0, 22, 4}},
      {"wave", Set::Highlighted, {21, 0, 22, 4}},
      {"A", Set::Small, {0}},          // no capitals: drawn as "a"
      {"Zq\xe4", Set::Small, {0, 16, 0}},  // nor anything else outside the table
      // The whole table in order: letters (w before v), blank, digits, punctuation.
      {"abcdefghijklmnopqrstuwvxyz 123456789", Set::Small, {}},
      {"0-:.,/+?()><'!\"", Set::Highlighted, {36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50}},
  };
  for (int i = 0; i <= 35; ++i) cases[4].glyphs.push_back(i);
  for (const Case& c : cases) {
    SetUp();
    FontText(w, 20, 300, c.text, c.set != Set::Large, c.set == Set::Highlighted);
    for (size_t p = 0; p < c.glyphs.size(); ++p) {
      EXPECT_TRUE(ShowsCell(w, 20 + 13 * static_cast<int>(p), 300, Cell(c.glyphs[p], c.set)))
          << "\"" << c.text << "\" position " << p;
    }
    // Nothing beyond the last character.
    EXPECT_EQ(0, PaperlessPixels({20 + 13 * static_cast<int>(c.glyphs.size()), 280, 800, 330})) << c.text;
  }
}

TEST_F(FontTest, LargeGlyphsStandTwentyFiveApartAndOverlapByOnePixel) {
  FontText(w, 100, 200, "10", false, false);
  // "1" is glyph 27 (sheet x 0..26, y 26..52); its last column lies under the "0" drawn after it.
  EXPECT_TRUE(ShowsCell(w, 100, 200, Rect{0, 26, 26, 52}, 25));
  EXPECT_TRUE(ShowsCell(w, 125, 200, Rect{234, 26, 260, 52}, 99, Under::Anything));
  EXPECT_EQ(0, PaperlessPixels({151, 190, 800, 240}));
  EXPECT_EQ(0, PaperlessPixels({0, 226, 800, 240}));
}

TEST_F(FontTest, CellsOfEachSet) {
  struct Case {
    int glyph;
    Set set;
    Rect cell;  // as the sheet lays them out
  } cases[] = {
      {0, Set::Large, {0, 0, 26, 26}},          {26, Set::Large, {676, 0, 702, 26}},
      {50, Set::Large, {598, 26, 624, 52}},     {12, Set::Small, {156, 53, 169, 66}},
      {36, Set::Small, {117, 66, 130, 79}},     {26, Set::Highlighted, {338, 79, 351, 91}},
      {27, Set::Highlighted, {0, 92, 13, 103}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.cell, FontGlyphCell(c.glyph, c.set != Set::Large, c.set == Set::Highlighted)) << c.glyph;
    EXPECT_EQ(Cell(c.glyph, c.set), c.cell) << c.glyph;
  }
  // Highlighted cells are a row shorter: the pixel under a highlighted glyph stays paper.
  FontText(w, 40, 40, "b", true, true);
  EXPECT_TRUE(ShowsCell(w, 40, 40, Cell(1, Set::Highlighted)));
  EXPECT_EQ(0, PaperlessPixels({40, 52, 53, 60}));
}

TEST_F(FontTest, EmptyTextAndGlyphsOverTheEdgeDrawNothing) {
  FontText(w, 100, 100, "", true, false);
  FontText(w, 790, 100, "a", true, false);   // 13 wide: would reach x 803
  FontText(w, 100, 590, "a", true, false);   // 13 high: would reach y 603
  FontText(w, -5, 100, "a", false, false);
  EXPECT_EQ(0, PaperlessPixels({0, 0, 800, 600}));
  // The glyph after one over the edge is still drawn.
  FontText(w, -10, 400, "ab", true, false);
  EXPECT_EQ(0, PaperlessPixels({0, 400, 3, 413}));
  EXPECT_TRUE(ShowsCell(w, 3, 400, Cell(1, Set::Small)));
}

TEST_F(FontTest, LongTextsDrawTheirFirstHundredCharacters) {
  // Started far to the left so that characters 62 onwards fall on the screen: character 99 ends at
  // x 500, where a 101st would begin.
  const std::string longText(150, 'c');
  FontText(w, -800, 100, longText, true, false);
  EXPECT_TRUE(ShowsCell(w, -800 + 13 * 99, 100, Cell(2, Set::Small)));
  EXPECT_EQ(0, PaperlessPixels({500, 90, 800, 120}));

  SetUp();
  FontText(w, -800, 100, std::string(100, 'c'), true, false);
  EXPECT_TRUE(ShowsCell(w, -800 + 13 * 99, 100, Cell(2, Set::Small)));
}

TEST(NumberText, PlainDecimalForm) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {{7, "7"}, {0, "0"}, {-0.0, "0"}, {120, "120"}, {-3, "-3"}, {7.5, "7.5"}, {0.1, "0.1"}, {1e20, "1e+20"}};
  for (const Case& c : cases) EXPECT_EQ(c.text, NumberText(c.value)) << c.value;
}

// What WeaponTexts draws is compared with FontText drawing the expected text on a fresh surface.
struct WeaponTextsTest : FontTest {
  Surface Expected(const std::vector<std::tuple<int, int, std::string, bool>>& texts) {
    GameWindow e;
    testing::SetUpTestWindow(e);
    e.back.BltColorFill({0, 0, 800, 600}, kPaper);
    for (const auto& [x, y, text, small] : texts) FontText(e, x, y, text, small, false);
    return e.back;
  }
};

TEST_F(WeaponTextsTest, EachWeaponsText) {
  struct Case {
    int weapon;
    double missiles, torpedoes, ammo;
    std::string text;
  } cases[] = {
      {0, 0, 0, 0, "laser cnns"},       {1, 0, 0, 0, "ion cannon"},     {2, 7, 0, 0, "missiles 7"},
      {3, 0, 12, 0, "torpedos 12"},     {4, 0, 0, 0, "electrogun"},     {5, 0, 0, 34.5, "chaingun 34"},
      {5, 0, 0, 35.5, "chaingun 36"},   {5, 0, 0, 9.7, "chaingun 10"},  {2, 0, 0, 0, "missiles 0"},
  };
  for (const Case& c : cases) {
    for (int player = 0; player < 2; ++player) {
      SetUp();
      ShipState& s = w.ship[player];
      s.weapon = c.weapon, s.missiles = c.missiles, s.torpedoes = c.torpedoes, s.chaingunAmmo = c.ammo;
      ShipState& other = w.ship[1 - player];
      other.weapon = 4;
      WeaponTexts(w);
      const std::string& t1 = player == 0 ? c.text : "electrogun";
      const std::string& t2 = player == 1 ? c.text : "electrogun";
      EXPECT_TRUE(testing::SurfacesEqual(Expected({{651, 28, t1, true}, {5, 28, t2, true}}), w.back,
                                         "weapon-text-" + std::to_string(c.weapon)))
          << c.text << " for player " << player + 1;
    }
  }
}

TEST_F(WeaponTextsTest, UnknownWeaponKeepsTheTextBefore) {
  // Player 2's text is built after player 1's into the same text, so it repeats player 1's.
  w.ship[0].weapon = 1;
  w.ship[1].weapon = 9;
  WeaponTexts(w);
  EXPECT_TRUE(testing::SurfacesEqual(Expected({{651, 28, "ion cannon", true}, {5, 28, "ion cannon", true}}), w.back,
                                     "weapon-text-unknown-2"));
  // Player 1's has nothing before it.
  SetUp();
  w.ship[0].weapon = -1;
  w.ship[1].weapon = 0;
  WeaponTexts(w);
  EXPECT_TRUE(testing::SurfacesEqual(Expected({{5, 28, "laser cnns", true}}), w.back, "weapon-text-unknown-1"));
}

TEST_F(WeaponTextsTest, DuelOutcome) {
  struct Case {
    bool alive1, alive2;
    const char* outcome;
  } cases[] = {{true, true, ""}, {true, false, "player 1 won!"}, {false, true, "player 2 won!"},
               {false, false, " tie game! "}};
  for (const Case& c : cases) {
    SetUp();
    w.ship[0].alive = c.alive1;
    w.ship[1].alive = c.alive2;
    WeaponTexts(w);
    EXPECT_TRUE(testing::SurfacesEqual(
        Expected({{651, 28, "laser cnns", true}, {5, 28, "laser cnns", true}, {250, 295, c.outcome, false}}), w.back,
        "duel-outcome"))
        << c.outcome;
  }
  // The tie stands alone, blanks included: its first glyph is the blank cell.
  SetUp();
  w.ship[0].alive = w.ship[1].alive = false;
  WeaponTexts(w);
  EXPECT_TRUE(ShowsCell(w, 250, 295, Cell(26, Set::Large), 25));
  EXPECT_TRUE(ShowsCell(w, 275, 295, Cell(19, Set::Large), 25, Under::Anything));
  EXPECT_GT(CountLitPixels(w.back, {250, 295, 525, 321}), 0);
}

}  // namespace
}  // namespace quorvex
