// The battle state as a hash (to tell whether two runs played the same game) and as snapshot lines
// (to start a replayed battle from the state the recorded one started from).
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"

namespace quorvex {

// A 64-bit hash of everything that decides the battle: both ships, the armadas, the ship list,
// every pool, the flags, the rules and the random generator's state. What is only seen or heard
// (stars, sound and music settings, aim markers, pacing) is left out.
uint64_t StateHash(const GameWindow& w);
// The hash as 16 lower-case hex digits.
std::string HashText(uint64_t hash);

// One line per field, "name value value ...": numbers in their shortest exact form, a run of equal
// values as "value*count", texts as "s" followed by the text with every byte outside '!'..'~', '%'
// and '*' written as %XX.
std::vector<std::string> SnapshotLines(const GameWindow& w);

// Snapshot lines by field name: the values after the name.
using SnapshotFields = std::map<std::string, std::string>;

// Splits a snapshot line into its field name and values; false when it has no name.
bool SplitSnapshotLine(const std::string& line, std::string* name, std::string* values);

// Sets every field from `fields`. False, with the field and the problem in `error`, when a field is
// missing, has the wrong number of values or a value that does not fit; the state is then partly set.
bool ApplySnapshot(const SnapshotFields& fields, GameWindow& w, std::string* error);
// The same from the lines SnapshotLines made (a line without a name is left out).
bool ApplySnapshotLines(const std::vector<std::string>& lines, GameWindow& w, std::string* error);

// Texts in the snapshot and replay encoding, and back (false on a bad escape).
std::string EncodeText(const std::string& text);
bool DecodeText(const std::string& token, std::string* text);

}  // namespace quorvex
