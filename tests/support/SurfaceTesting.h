// Test helpers for pictures: compare surfaces or regions, and keep a PNG of what was drawn when
// they differ so a person can look at it.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace quorvex::testing {

// Where tests put their pictures (created on demand).
std::filesystem::path TestOutputDir();
// The program folder holding the generated data.
std::filesystem::path ProgramDir();

// Writes the surface as a 24-bit PNG. False when the file cannot be written.
bool WritePng(const Surface& s, const std::filesystem::path& path);
// Reads a PNG into an RGB565 surface. False when it cannot.
bool ReadPng(const std::filesystem::path& path, Surface* out);

// Expected pixels of a region written as rows of characters, each standing for a colour of the legend.
// '.' is any character the legend maps; the region's top left is (x, y).
struct Legend {
  char symbol;
  uint16_t pixel;
};
::testing::AssertionResult RegionMatches(const Surface& actual, int x, int y, const std::vector<std::string>& rows,
                                         const std::vector<Legend>& legend, const std::string& name);

// The surface equals the PNG `golden` pixel for pixel. On a mismatch the actual picture is written
// beside the test output as <name>-actual.png. When the golden file does not exist and
// QV_UPDATE_GOLDEN is set, it is written.
::testing::AssertionResult MatchesGolden(const Surface& actual, const std::filesystem::path& golden,
                                         const std::string& name);

// Whole-surface equality, writing both pictures on a mismatch.
::testing::AssertionResult SurfacesEqual(const Surface& expected, const Surface& actual, const std::string& name);

// Number of pixels in the rectangle that are not 0.
int CountLitPixels(const Surface& s, const Rect& r);

}  // namespace quorvex::testing
