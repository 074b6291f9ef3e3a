#pragma once
// The record file's 32-bit checksum: reflected polynomial 0xEDB88320 with the
// register starting at 0xEDB88320 (not 0xFFFFFFFF) and no final inversion.
#include <cstddef>
#include <cstdint>

namespace tessaly::record {

// Bit-at-a-time form, the definition.
uint32_t RecordCrc(const unsigned char* bytes, size_t length);

// The same value through the 16-entry (nibble) table, low nibble first.
uint32_t RecordCrcNibble(const unsigned char* bytes, size_t length);

// The same value through tables sliced by eight, eight bytes at a time: the
// portable part of RecordCrcFast.
uint32_t RecordCrcSliced(const unsigned char* bytes, size_t length);

// The same value at memory speed: carry-less multiplication folds 64 bytes at
// a time where the processor has it on 512-bit registers, 16 where it has it
// on 128-bit ones, and tables sliced by eight do the rest. The form the
// readers use, as every loaded sector is checked.
uint32_t RecordCrcFast(const unsigned char* bytes, size_t length);

// RecordCrcFast of the run with the four bytes at `field` taken as zero: what
// a CRC field stored inside the run it covers holds. The field lies within
// the first 64 bytes (field + 4 <= 64 and <= length).
uint32_t RecordCrcOfField(const unsigned char* bytes, size_t length, size_t field);

// The ways RecordCrcFast and RecordCrcOfField can run, widest first: they take
// the first one the processor has. Named so that tests and benches can run
// each of them on the same bytes.
enum class RecordCrcPath { Vpclmul512, Clmul128, Tables };
inline constexpr RecordCrcPath kRecordCrcPaths[] = {RecordCrcPath::Vpclmul512, RecordCrcPath::Clmul128,
                                                    RecordCrcPath::Tables};

const char* RecordCrcPathName(RecordCrcPath path);
bool RecordCrcPathAvailable(RecordCrcPath path);

// RecordCrcFast and RecordCrcOfField through `path`, which must be available.
uint32_t RecordCrcFastOn(RecordCrcPath path, const unsigned char* bytes, size_t length);
uint32_t RecordCrcOfFieldOn(RecordCrcPath path, const unsigned char* bytes, size_t length, size_t field);

}  // namespace tessaly::record
