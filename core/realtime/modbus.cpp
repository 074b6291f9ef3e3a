#include "realtime/modbus.h"

#include <bit>

namespace tessaly::realtime {
namespace {

constexpr uint16_t kPolynomial = 0xA001;

constexpr uint16_t BitwiseStep(uint16_t crc, uint8_t byte) {
  crc ^= byte;
  for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ kPolynomial) : crc >> 1;
  return crc;
}

// The two tables of the Modbus reference: for an index i, the contribution
// to the byte sent first and to the byte sent second.
struct CrcTables {
  uint8_t first[256];
  uint8_t second[256];
};

constexpr CrcTables MakeTables() {
  CrcTables t{};
  for (int i = 0; i < 256; ++i) {
    const uint16_t v = BitwiseStep(0, static_cast<uint8_t>(i));
    t.first[i] = static_cast<uint8_t>(v & 0xFF);
    t.second[i] = static_cast<uint8_t>(v >> 8);
  }
  return t;
}

constexpr CrcTables kTables = MakeTables();
static_assert(kTables.first[1] == 0xC1 && kTables.second[1] == 0xC0);
static_assert(kTables.first[255] == 0x40 && kTables.second[255] == 0x40);

}  // namespace

uint16_t Crc16(const uint8_t* data, size_t length) {
  uint8_t sentFirst = 0xFF;
  uint8_t sentSecond = 0xFF;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t index = sentFirst ^ data[i];
    sentFirst = sentSecond ^ kTables.first[index];
    sentSecond = kTables.second[index];
  }
  return static_cast<uint16_t>(sentSecond << 8 | sentFirst);
}

uint16_t Crc16Bitwise(const uint8_t* data, size_t length) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) crc = BitwiseStep(crc, data[i]);
  return crc;
}

void AppendCrc(uint8_t* data, size_t length) {
  const uint16_t crc = Crc16(data, length);
  data[length] = static_cast<uint8_t>(crc & 0xFF);
  data[length + 1] = static_cast<uint8_t>(crc >> 8);
}

bool CrcMatches(const uint8_t* data, size_t length) {
  const uint16_t crc = Crc16(data, length);
  return data[length] == (crc & 0xFF) && data[length + 1] == (crc >> 8);
}

bool ChannelAnswerOk(const uint8_t* answer, size_t length, int channels) {
  if (channels < 1 || length < 3) return false;
  const size_t values = 4 * static_cast<size_t>(channels);
  return answer[2] == values && length == 3 + values + 2 && CrcMatches(answer, 3 + values);
}

Request BuildRequest(int address, uint8_t function, uint16_t firstRegister, uint16_t registerCount) {
  Request r{static_cast<uint8_t>(address & 0xFF),
            function,
            static_cast<uint8_t>(firstRegister >> 8),
            static_cast<uint8_t>(firstRegister & 0xFF),
            static_cast<uint8_t>(registerCount >> 8),
            static_cast<uint8_t>(registerCount & 0xFF),
            0,
            0};
  AppendCrc(r.data(), 6);
  return r;
}

float DecodeFloatBE(const uint8_t* b) {
  const uint32_t bits = uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
  return std::bit_cast<float>(bits);
}

void EncodeFloatBE(float value, uint8_t* b) {
  const uint32_t bits = std::bit_cast<uint32_t>(value);
  b[0] = static_cast<uint8_t>(bits >> 24);
  b[1] = static_cast<uint8_t>(bits >> 16);
  b[2] = static_cast<uint8_t>(bits >> 8);
  b[3] = static_cast<uint8_t>(bits);
}

}  // namespace tessaly::realtime
