#include "tools/datagen/Wav.h"

namespace datagen {
namespace {

void PutU16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

std::string EncodeWav16Mono(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  PutU32(out, 36 + dataBytes);
  out += "WAVE";
  out += "fmt ";
  PutU32(out, 16);                                     // size of the format block
  PutU16(out, 1);                                      // PCM
  PutU16(out, 1);                                      // mono
  PutU32(out, static_cast<uint32_t>(sampleRate));      // frames per second
  PutU32(out, static_cast<uint32_t>(sampleRate) * 2);  // bytes per second
  PutU16(out, 2);                                      // bytes per frame
  PutU16(out, 16);                                     // bits per sample
  out += "data";
  PutU32(out, dataBytes);
  for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
  return out;
}

}  // namespace datagen
