#pragma once
// Modbus RTU framing as the recorder speaks it: the CRC-16, the 8-byte
// requests and the big-endian single-precision values of the answers.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tessaly::realtime {

// Reflected polynomial 0xA001, initial 0xFFFF, no final inversion; a frame
// carries the low byte first. "123456789" gives 0x4B37.
uint16_t Crc16(const uint8_t* data, size_t length);

// The same value bit by bit, the definition the tables are checked against.
uint16_t Crc16Bitwise(const uint8_t* data, size_t length);

// Stores the CRC of the first `length` bytes at data[length], data[length + 1].
void AppendCrc(uint8_t* data, size_t length);

// True when the two bytes after the first `length` carry their CRC.
bool CrcMatches(const uint8_t* data, size_t length);

constexpr uint8_t kReadHoldingRegisters = 0x03;
constexpr uint8_t kReadInputRegisters = 0x04;
constexpr uint16_t kSyncRegister = 0x4000;
constexpr size_t kRequestSize = 8;

using Request = std::array<uint8_t, kRequestSize>;

// Address (low 8 bits), function, first register and register count (both
// most significant byte first), CRC.
Request BuildRequest(int address, uint8_t function, uint16_t firstRegister, uint16_t registerCount);

// A channel answer of `length` bytes is whole for `channels` values: its
// byte count (offset 2) is 4 x channels, it fills `length` exactly, and the
// CRC after the values matches. Address and function are not examined.
bool ChannelAnswerOk(const uint8_t* answer, size_t length, int channels);

// IEEE-754 single precision, most significant byte first.
float DecodeFloatBE(const uint8_t* bytes);
void EncodeFloatBE(float value, uint8_t* bytes);

}  // namespace tessaly::realtime
