#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "record/record_crc.h"

namespace tessaly::record {
namespace {

using CrcForm = uint32_t (*)(const unsigned char*, size_t);

struct NamedForm {
  const char* name;
  CrcForm crc;
};

const NamedForm kForms[] = {
    {"bitwise", RecordCrc}, {"nibble", RecordCrcNibble}, {"sliced", RecordCrcSliced}, {"fast", RecordCrcFast}};

TEST(RecordCrc, CheckValuesInEveryForm) {
  const auto* abc = reinterpret_cast<const unsigned char*>("abc");
  for (const NamedForm& form : kForms) {
    SCOPED_TRACE(form.name);
    EXPECT_EQ(form.crc(abc, 0), 0xEDB88320u);
    EXPECT_EQ(form.crc(abc, 3), 0x273C2EEBu);
  }
}

// Lengths around the folding steps (16, 64 bytes), whole sectors and odd
// tails, at unaligned starts.
TEST(RecordCrc, FormsAgreeOnRandomData) {
  std::mt19937 random(20150105);
  std::vector<unsigned char> bytes(2048 + 16);
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
  const size_t lengths[] = {1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 500, 512, 513, 1024, 1031, 2048};
  for (size_t length : lengths) {
    for (size_t start : {0, 1, 7}) {
      SCOPED_TRACE(testing::Message() << "length " << length << " start " << start);
      const uint32_t expected = RecordCrc(&bytes[start], length);
      EXPECT_EQ(RecordCrcNibble(&bytes[start], length), expected);
      EXPECT_EQ(RecordCrcSliced(&bytes[start], length), expected);
      EXPECT_EQ(RecordCrcFast(&bytes[start], length), expected);
    }
  }
}

// The value a CRC field holds: the run's CRC with the field's own bytes as zero.
TEST(RecordCrc, FieldTakenAsZero) {
  std::mt19937 random(7);
  for (size_t length : {16, 63, 64, 512, 1024}) {
    std::vector<unsigned char> bytes(length);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    for (size_t field : {0, 12, 16, 60}) {
      if (field + 4 > length) continue;
      std::vector<unsigned char> zeroed = bytes;
      std::fill_n(zeroed.begin() + static_cast<std::ptrdiff_t>(field), 4, 0);
      EXPECT_EQ(RecordCrcOfField(bytes.data(), length, field), RecordCrc(zeroed.data(), length))
          << "length " << length << " field " << field;
    }
  }
}

}  // namespace
}  // namespace tessaly::record
