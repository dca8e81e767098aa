#include "game/replay/StateHash.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <sstream>
#include <type_traits>

#include "game/replay/BattleFields.h"

namespace quorvex {

namespace {

// FNV-1a over the bytes of each value; numbers by their bit patterns, texts with their length.
struct Hasher {
  uint64_t h = 0xcbf29ce484222325ULL;

  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) {
      h ^= p[i];
      h *= 0x100000001b3ULL;
    }
  }
  template <class T>
  void Value(const T& v) {
    if constexpr (std::is_same_v<T, std::string>) {
      const uint64_t n = v.size();
      Bytes(&n, sizeof n);
      Bytes(v.data(), v.size());
    } else if constexpr (std::is_same_v<T, Rect>) {
      Value(v.left), Value(v.top), Value(v.right), Value(v.bottom);
    } else if constexpr (std::is_same_v<T, bool>) {
      const unsigned char b = v ? 1 : 0;
      Bytes(&b, 1);
    } else if constexpr (std::is_arithmetic_v<T>) {
      Bytes(&v, sizeof v);
    } else {
      for (const auto& item : v) Value(item);
    }
  }
  template <class T>
  void operator()(const std::string& name, const T& v, bool decides = true) {
    if (!decides) return;
    Bytes(name.data(), name.size());
    Value(v);
  }
};

// ---- snapshot values as text tokens ----

void Tokens(bool v, std::vector<std::string>& out) { out.push_back(v ? "1" : "0"); }
void Tokens(const std::string& v, std::vector<std::string>& out) { out.push_back(EncodeText(v)); }
void Tokens(const Rect& r, std::vector<std::string>& out) {
  for (int v : {r.left, r.top, r.right, r.bottom}) out.push_back(std::to_string(v));
}
template <class T>
  requires std::is_arithmetic_v<T>
void Tokens(T v, std::vector<std::string>& out) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);  // shortest form that reads back exactly
  out.emplace_back(buf, res.ptr);
}
template <class T, size_t N>
void Tokens(const std::array<T, N>& a, std::vector<std::string>& out) {
  for (const T& v : a) Tokens(v, out);
}

bool Parse(const std::string& token, bool* v) {
  if (token != "0" && token != "1") return false;
  *v = token == "1";
  return true;
}
bool Parse(const std::string& token, std::string* v) { return DecodeText(token, v); }
template <class T>
  requires std::is_arithmetic_v<T>
bool Parse(const std::string& token, T* v) {
  const char* end = token.data() + token.size();
  const auto res = std::from_chars(token.data(), end, *v);
  return res.ec == std::errc() && res.ptr == end;
}

// How many tokens a value takes.
template <class T>
size_t TokenCount(const T&) {
  if constexpr (std::is_same_v<T, Rect>) return 4;
  else return 1;
}
template <class T, size_t N>
size_t TokenCount(const std::array<T, N>& a) {
  return N * TokenCount(a[0]);
}

// Takes the next values of `tokens` into `v`.
bool Take(const std::vector<std::string>& tokens, size_t& at, Rect* r) {
  for (int* v : {&r->left, &r->top, &r->right, &r->bottom}) {
    if (!Parse(tokens[at++], v)) return false;
  }
  return true;
}
template <class T>
bool Take(const std::vector<std::string>& tokens, size_t& at, T* v) {
  return Parse(tokens[at++], v);
}
template <class T, size_t N>
bool Take(const std::vector<std::string>& tokens, size_t& at, std::array<T, N>* a) {
  for (T& v : *a) {
    if (!Take(tokens, at, &v)) return false;
  }
  return true;
}

struct SnapshotWriter {
  std::vector<std::string> lines;
  template <class T>
  void operator()(const std::string& name, const T& v, bool = true) {
    std::vector<std::string> tokens;
    Tokens(v, tokens);
    std::string line = name;
    for (size_t i = 0; i < tokens.size();) {
      size_t run = 1;
      while (i + run < tokens.size() && tokens[i + run] == tokens[i]) ++run;
      line += ' ';
      line += tokens[i];
      if (run > 1) line += '*' + std::to_string(run);
      i += run;
    }
    lines.push_back(std::move(line));
  }
};

// Expands "value*count" runs, refusing more than `limit` values in all.
bool ExpandRuns(const std::string& values, size_t limit, std::vector<std::string>* out) {
  std::istringstream in(values);
  std::string token;
  while (in >> token) {
    size_t count = 1;
    const size_t star = token.rfind('*');
    if (star != std::string::npos) {
      const char* end = token.data() + token.size();
      const auto res = std::from_chars(token.data() + star + 1, end, count);
      if (res.ec != std::errc() || res.ptr != end || count == 0) return false;
      token.resize(star);
    }
    if (count > limit - out->size()) return false;
    out->insert(out->end(), count, token);
  }
  return true;
}

struct SnapshotReader {
  const SnapshotFields& fields;
  std::string error;
  template <class T>
  void operator()(const std::string& name, T& v, bool = true) {
    if (!error.empty()) return;
    const auto it = fields.find(name);
    if (it == fields.end()) {
      error = "the battle state has no field " + name;
      return;
    }
    const size_t want = TokenCount(v);
    std::vector<std::string> tokens;
    if (!ExpandRuns(it->second, want, &tokens) || tokens.size() != want) {
      error = "the battle state field " + name + " does not have " + std::to_string(want) + " values";
      return;
    }
    size_t at = 0;
    if (!Take(tokens, at, &v)) error = "the battle state field " + name + " has a value that does not fit";
  }
};

// The computer pilot's level is written and hashed only when it is not the game's own pilot, so
// battles recorded before there were levels keep their snapshots and hashes.
constexpr const char* kPilotLevelField = "pilotLevel";

bool OwnPilot(const GameWindow& w) { return w.pilotLevel == PilotLevel::Normal; }

}  // namespace

uint64_t StateHash(const GameWindow& w) {
  Hasher h;
  VisitBattleFields(w, h);
  if (!OwnPilot(w)) h(kPilotLevelField, static_cast<uint8_t>(w.pilotLevel));
  return h.h;
}

std::string HashText(uint64_t hash) {
  static const char* kDigits = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<size_t>(i)] = kDigits[hash & 15];
  return text;
}

std::vector<std::string> SnapshotLines(const GameWindow& w) {
  SnapshotWriter writer;
  VisitBattleFields(w, writer);
  if (!OwnPilot(w)) writer(kPilotLevelField, static_cast<int>(w.pilotLevel));
  return std::move(writer.lines);
}

bool SplitSnapshotLine(const std::string& line, std::string* name, std::string* values) {
  const size_t space = line.find(' ');
  *name = line.substr(0, space);
  *values = space == std::string::npos ? std::string() : line.substr(space + 1);
  return !name->empty();
}

bool ApplySnapshot(const SnapshotFields& fields, GameWindow& w, std::string* error) {
  SnapshotReader reader{fields, {}};
  VisitBattleFields(w, reader);
  int level = static_cast<int>(PilotLevel::Normal);
  if (reader.error.empty() && fields.count(kPilotLevelField)) {
    reader(kPilotLevelField, level);
    if (reader.error.empty() && (level < 0 || level > static_cast<int>(PilotLevel::Hard))) {
      reader.error = std::string("the battle state field ") + kPilotLevelField + " has a value that does not fit";
    }
  }
  if (reader.error.empty()) w.pilotLevel = static_cast<PilotLevel>(level);
  if (error) *error = reader.error;
  return reader.error.empty();
}

bool ApplySnapshotLines(const std::vector<std::string>& lines, GameWindow& w, std::string* error) {
  SnapshotFields fields;
  for (const std::string& line : lines) {
    std::string name, values;
    if (SplitSnapshotLine(line, &name, &values)) fields[name] = values;
  }
  return ApplySnapshot(fields, w, error);
}

std::string EncodeText(const std::string& text) {
  static const char* kDigits = "0123456789ABCDEF";
  std::string out = "s";
  for (unsigned char c : text) {
    if (c > ' ' && c <= '~' && c != '%' && c != '*') {  // '*' marks runs of values
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kDigits[c >> 4];
      out += kDigits[c & 15];
    }
  }
  return out;
}

bool DecodeText(const std::string& token, std::string* text) {
  if (token.empty() || token[0] != 's') return false;
  text->clear();
  for (size_t i = 1; i < token.size(); ++i) {
    if (token[i] != '%') {
      *text += token[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= token.size()) return false;
    const auto res = std::from_chars(token.data() + i + 1, token.data() + i + 3, value, 16);
    if (res.ec != std::errc() || res.ptr != token.data() + i + 3) return false;
    *text += static_cast<char>(value);
    i += 2;
  }
  return true;
}

}  // namespace quorvex
