// The --help text both programs print: one line per option of a table, so that an option is added
// to the help by adding its line.
#pragma once
#include <span>
#include <string>

namespace quorvex {

struct OptionLine {
  const char* name;   // "--replay"
  const char* value;  // "FILE", or "" for an option without a value
  const char* text;   // what it does, one sentence
};

// "usage: PROGRAM [OPTION]...", the summary, then each option with its value and text, then `more`
// (further paragraphs, such as the environment the program reads).
std::string HelpText(const std::string& program, const std::string& summary, std::span<const OptionLine> options,
                     const std::string& more = "");

// The version line: "PROGRAM VERSION".
std::string VersionText(const std::string& program);

}  // namespace quorvex
