// A run-time error of the game window: a number and a description, as the error report shows them
// ("Error #" number ". " description). Thrown wherever the game cannot go on; caught by the start-up
// code, which shows the report and unloads the window.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace quorvex {

// Error numbers the game raises.
constexpr int kErrorFileNotFound = 53;        // a picture, sound or data file could not be loaded
constexpr int kErrorSubscriptOutOfRange = 9;
constexpr int kErrorOutOfMemory = 7;
constexpr int kErrorInternal = 51;              // any other failure inside the game
constexpr int kErrorAutomation = -2147467259;   // a display, input or sound service failed
constexpr int kErrorInvalidPicture = 481;     // a picture file exists but cannot be read

struct GameError : std::exception {
  int number = 0;
  std::string description;

  GameError(int number_, std::string description_) : number(number_), description(std::move(description_)) {}
  const char* what() const noexcept override { return description.c_str(); }
  // "Error #<number>. <description>", as the player is shown it.
  std::string Text() const { return "Error #" + std::to_string(number) + ". " + description; }
};

}  // namespace quorvex
