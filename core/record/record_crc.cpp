#include "record/record_crc.h"

namespace tessaly::record {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;
constexpr uint32_t kInitial = 0xEDB88320u;

constexpr uint32_t kNibbleTable[16] = {
    0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4, 0x4DB26158, 0x5005713C,
    0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C, 0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C,
};

}  // namespace

uint32_t RecordCrc(const unsigned char* bytes, size_t length) {
  uint32_t reg = kInitial;
  for (size_t i = 0; i < length; ++i) {
    reg ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) reg = (reg >> 1) ^ ((reg & 1u) ? kPolynomial : 0u);
  }
  return reg;
}

uint32_t RecordCrcNibble(const unsigned char* bytes, size_t length) {
  uint32_t reg = kInitial;
  for (size_t i = 0; i < length; ++i) {
    reg ^= bytes[i];
    reg = (reg >> 4) ^ kNibbleTable[reg & 0x0F];
    reg = (reg >> 4) ^ kNibbleTable[reg & 0x0F];
  }
  return reg;
}

}  // namespace tessaly::record
