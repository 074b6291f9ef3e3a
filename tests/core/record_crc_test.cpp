#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "record/record_crc.h"

namespace tessaly::record {

void PrintTo(RecordCrcPath path, std::ostream* out) { *out << RecordCrcPathName(path); }

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

// Each way the fast forms can run, on its own: the dispatch runs only the
// widest, so a narrower one would otherwise go untested on this machine.
class RecordCrcPathTest : public testing::TestWithParam<RecordCrcPath> {
 protected:
  void SetUp() override {
    if (!RecordCrcPathAvailable(GetParam()))
      GTEST_SKIP() << "the processor cannot run " << RecordCrcPathName(GetParam());
  }

  static std::vector<unsigned char> RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
  }
};

// Every length up to past four 256-byte steps, so that each folding step,
// each partial step and each tail length is met, at unaligned starts too.
TEST_P(RecordCrcPathTest, AgreesWithTheDefinitionAtEveryLength) {
  const std::vector<unsigned char> bytes = RandomBytes(1100 + 64, 20150105);
  for (size_t start : {0, 1, 13, 32}) {
    for (size_t length = 0; length <= 1100; ++length) {
      const uint32_t expected = RecordCrc(&bytes[start], length);
      ASSERT_EQ(RecordCrcFastOn(GetParam(), &bytes[start], length), expected)
          << "length " << length << " start " << start;
    }
  }
}

TEST_P(RecordCrcPathTest, FieldTakenAsZero) {
  const std::vector<unsigned char> bytes = RandomBytes(1024 + 3, 7);
  for (size_t length : {4, 16, 63, 64, 65, 100, 255, 256, 300, 511, 512, 513, 1024}) {
    for (size_t field : {0, 1, 12, 16, 33, 59, 60}) {
      if (field + 4 > std::min<size_t>(length, 64)) continue;
      for (size_t start : {0, 3}) {
        std::vector<unsigned char> zeroed(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                                          bytes.begin() + static_cast<std::ptrdiff_t>(start + length));
        std::fill_n(zeroed.begin() + static_cast<std::ptrdiff_t>(field), 4, 0);
        EXPECT_EQ(RecordCrcOfFieldOn(GetParam(), &bytes[start], length, field), RecordCrc(zeroed.data(), length))
            << "length " << length << " field " << field << " start " << start;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RecordCrc, RecordCrcPathTest, testing::ValuesIn(kRecordCrcPaths),
                         [](const testing::TestParamInfo<RecordCrcPath>& info) {
                           return std::string(RecordCrcPathName(info.param));
                         });

}  // namespace
}  // namespace tessaly::record
