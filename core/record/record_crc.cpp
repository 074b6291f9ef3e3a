#include "record/record_crc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#define TESSALY_CRC_CLMUL 1
#endif

namespace tessaly::record {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;
constexpr uint32_t kInitial = 0xEDB88320u;

constexpr uint32_t kNibbleTable[16] = {
    0x00000000, 0x1DB71064, 0x3B6E20C8, 0x26D930AC, 0x76DC4190, 0x6B6B51F4, 0x4DB26158, 0x5005713C,
    0xEDB88320, 0xF00F9344, 0xD6D6A3E8, 0xCB61B38C, 0x9B64C2B0, 0x86D3D2D4, 0xA00AE278, 0xBDBDF21C,
};

// Slicing by eight: table[k][b] is the register contribution of byte b
// followed by k zero bytes, so eight bytes take eight independent lookups.
using SliceTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr SliceTables MakeSliceTables() {
  SliceTables t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t reg = i;
    for (int bit = 0; bit < 8; ++bit) reg = (reg >> 1) ^ ((reg & 1u) ? kPolynomial : 0u);
    t[0][i] = reg;
  }
  for (size_t k = 1; k < 8; ++k)
    for (size_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  return t;
}
constexpr SliceTables kSlice = MakeSliceTables();

// The folding starts from the first 64 bytes, which also hold every CRC field.
constexpr size_t kFoldHead = 64;

uint32_t CrcSliced(uint32_t reg, const unsigned char* p, size_t length) {
  for (; length >= 8; p += 8, length -= 8) {
    const uint32_t lo = reg ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
    reg = kSlice[7][lo & 0xFF] ^ kSlice[6][(lo >> 8) & 0xFF] ^ kSlice[5][(lo >> 16) & 0xFF] ^ kSlice[4][lo >> 24] ^
          kSlice[3][p[4]] ^ kSlice[2][p[5]] ^ kSlice[1][p[6]] ^ kSlice[0][p[7]];
  }
  for (; length > 0; ++p, --length) reg = (reg >> 8) ^ kSlice[0][(reg ^ *p) & 0xFF];
  return reg;
}

#ifdef TESSALY_CRC_CLMUL
// Folding: a 16-byte chunk A that lies D bits before the end of what follows
// contributes A(x) * x^D mod P. With A = Ah * x^64 + Al, A * x^D is congruent
// to Ah * (x^(D+64) mod P) + Al * (x^D mod P), a product of at most 96 bits
// that replaces A and is added to the chunk D bits later. In the reflected
// layout the low quadword of a chunk holds Ah, and a carry-less product of two
// reflected 64-bit values comes out one bit short, so each constant is
// x^(n-1) mod P, bit-reversed into the top half of a quadword.
constexpr uint64_t FoldConstant(int n) {
  uint64_t reg = 1;  // x^0, bit d standing for x^d
  for (int i = 0; i < n - 1; ++i) {
    reg <<= 1;
    if (reg & 0x100000000ull) reg ^= 0x104C11DB7ull;
  }
  uint64_t reflected = 0;
  for (int d = 0; d < 32; ++d)
    if ((reg >> d) & 1u) reflected |= 1ull << (63 - d);
  return reflected;
}

// The pair folding a chunk by `bits`, in the order of the chunk's quadwords:
// Ah is multiplied by x^(bits+64), Al by x^bits.
struct FoldPair {
  uint64_t ah;
  uint64_t al;
};
constexpr FoldPair FoldBy(int bits) { return {FoldConstant(bits + 64), FoldConstant(bits)}; }

// Barrett reduction of a 64-bit remainder W: the quotient by P is the top
// half of (top half of W) * floor(x^64 / P), and W minus quotient * P leaves
// the register. Both 33-bit constants are bit-reversed, x^32 in bit 0.
constexpr uint64_t Reflect33(uint64_t poly) {
  uint64_t reflected = 0;
  for (int d = 0; d <= 32; ++d)
    if ((poly >> d) & 1u) reflected |= 1ull << (32 - d);
  return reflected;
}
constexpr uint64_t BarrettQuotient() {
  uint64_t high = 1ull << 32;  // the dividend x^64 from x^32 up
  uint64_t quotient = 0;
  for (int k = 32; k >= 0; --k) {
    if ((high >> k) & 1u) {
      quotient |= 1ull << k;
      high ^= 0x104C11DB7ull >> (32 - k);
    }
  }
  return Reflect33(quotient);
}
constexpr uint64_t kBarrettQuotient = BarrettQuotient();
constexpr uint64_t kBarrettPolynomial = Reflect33(0x104C11DB7ull);

#define TESSALY_CLMUL __attribute__((target("pclmul,sse2")))

TESSALY_CLMUL inline __m128i Pair(FoldPair by) {
  return _mm_set_epi64x(static_cast<long long>(by.al), static_cast<long long>(by.ah));
}

TESSALY_CLMUL inline __m128i Fold(__m128i chunk, __m128i by) {
  return _mm_xor_si128(_mm_clmulepi64_si128(chunk, by, 0x00), _mm_clmulepi64_si128(chunk, by, 0x11));
}

TESSALY_CLMUL inline __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The register from a remainder congruent to the message times x^32 and below
// x^96 (its low 32 bits clear): its top 32 bits fold by x^64 onto the 64 below
// them, which the Barrett reduction takes mod P.
TESSALY_CLMUL inline uint32_t Reduce(__m128i v) {
  const __m128i by64 = _mm_cvtsi64_si128(static_cast<long long>(FoldConstant(64)));
  const __m128i barrett =
      _mm_set_epi64x(static_cast<long long>(kBarrettPolynomial), static_cast<long long>(kBarrettQuotient));
  const __m128i w = _mm_srli_si128(_mm_xor_si128(_mm_clmulepi64_si128(v, by64, 0x00), v), 8);
  const __m128i quotient = _mm_and_si128(_mm_clmulepi64_si128(w, barrett, 0x00), _mm_cvtsi32_si128(-1));
  const __m128i r = _mm_xor_si128(w, _mm_clmulepi64_si128(quotient, barrett, 0x10));
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(r, 4)));
}

// The first 64 bytes come from `head`, the rest from `p`. The initial register
// enters as the first four message bytes XORed with it; the folded remainder
// is a 16-byte message with the same checksum from a zero register, reduced
// and finished with the tail by the tables.
TESSALY_CLMUL uint32_t CrcClmul(const unsigned char* head, const unsigned char* p, size_t length) {
  const __m128i by512 = Pair(FoldBy(512));
  const __m128i by128 = Pair(FoldBy(128));
  __m128i x0 = _mm_xor_si128(Load(head), _mm_cvtsi32_si128(static_cast<int>(kInitial)));
  __m128i x1 = Load(head + 16);
  __m128i x2 = Load(head + 32);
  __m128i x3 = Load(head + 48);
  while (length >= 64) {
    x0 = _mm_xor_si128(Fold(x0, by512), Load(p));
    x1 = _mm_xor_si128(Fold(x1, by512), Load(p + 16));
    x2 = _mm_xor_si128(Fold(x2, by512), Load(p + 32));
    x3 = _mm_xor_si128(Fold(x3, by512), Load(p + 48));
    p += 64;
    length -= 64;
  }
  x0 = _mm_xor_si128(Fold(x0, by128), x1);
  x0 = _mm_xor_si128(Fold(x0, by128), x2);
  x0 = _mm_xor_si128(Fold(x0, by128), x3);
  while (length >= 16) {
    x0 = _mm_xor_si128(Fold(x0, by128), Load(p));
    p += 16;
    length -= 16;
  }
  return CrcSliced(Reduce(Fold(x0, Pair(FoldBy(32)))), p, length);
}

// Broadcasts and extracts come zero-masked: GCC 12 warns that the plain forms
// (and the casts built on them) merge into an uninitialized value.
#define TESSALY_WIDE __attribute__((target("avx512f,avx512bw,vpclmulqdq,pclmul")))

TESSALY_WIDE inline __m512i WidePair(FoldPair by) { return _mm512_maskz_broadcast_i32x4(0xFFFF, Pair(by)); }

// x folded by the pairs of its lanes, plus `next`.
TESSALY_WIDE inline __m512i FoldWide(__m512i x, __m512i by, __m512i next) {
  return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(x, by, 0x00), _mm512_clmulepi64_epi128(x, by, 0x11), next,
                                   0x96);
}

TESSALY_WIDE inline __m512i LoadWide(const unsigned char* p) { return _mm512_loadu_si512(p); }

// A run that ends d = 1..63 bytes past the last whole 64 folds by d bytes.
constexpr auto kFoldBytes = [] {
  std::array<FoldPair, 63> pairs{};
  for (int d = 1; d <= 63; ++d) pairs[d - 1] = FoldBy(8 * d);
  return pairs;
}();

// Each lane of the last 64 bytes to the end of the run, times x^32 for Reduce.
constexpr FoldPair kLanesToEnd[4] = {FoldBy(3 * 128 + 32), FoldBy(2 * 128 + 32), FoldBy(128 + 32), FoldBy(32)};

// CrcClmul with four chunks to a register, 256 bytes a step, for length >= 64.
// The head's bytes outside `headMask` (the field) read as zero, so it needs no
// copy; a run that is not whole 64-byte steps has its last bytes loaded under
// a mask, so it needs no tables.
TESSALY_WIDE uint32_t CrcWide(const unsigned char* p, size_t length, __mmask64 headMask) {
  __m512i x =
      _mm512_xor_si512(_mm512_maskz_loadu_epi8(headMask, p), _mm512_maskz_set1_epi32(1, static_cast<int>(kInitial)));
  size_t done = kFoldHead;
  if (length >= 256) {
    __m512i x1 = LoadWide(p + 64);
    __m512i x2 = LoadWide(p + 128);
    __m512i x3 = LoadWide(p + 192);
    const __m512i by256 = WidePair(FoldBy(2048));
    for (done = 256; length - done >= 256; done += 256) {
      x = FoldWide(x, by256, LoadWide(p + done));
      x1 = FoldWide(x1, by256, LoadWide(p + done + 64));
      x2 = FoldWide(x2, by256, LoadWide(p + done + 128));
      x3 = FoldWide(x3, by256, LoadWide(p + done + 192));
    }
    x3 = FoldWide(x2, WidePair(FoldBy(512)), x3);
    x3 = FoldWide(x1, WidePair(FoldBy(1024)), x3);
    x = FoldWide(x, WidePair(FoldBy(1536)), x3);
  }
  for (; length - done >= 64; done += 64) x = FoldWide(x, WidePair(FoldBy(512)), LoadWide(p + done));
  if (const size_t d = length - done; d > 0)
    x = FoldWide(x, WidePair(kFoldBytes[d - 1]), _mm512_maskz_loadu_epi8(~0ull << (64 - d), p + length - 64));
  const __m512i v = FoldWide(x, _mm512_loadu_si512(kLanesToEnd), _mm512_setzero_si512());
  const __m256i v256 =
      _mm256_xor_si256(_mm512_maskz_extracti64x4_epi64(0xF, v, 0), _mm512_maskz_extracti64x4_epi64(0xF, v, 1));
  return Reduce(_mm_xor_si128(_mm256_castsi256_si128(v256), _mm256_extracti128_si256(v256, 1)));
}

#endif

// Where a run has no CRC field.
constexpr size_t kNoField = SIZE_MAX;

// The first 64 bytes of a run (all of a shorter one), copied only when the
// field lies among them and has to read as zero.
class Head {
 public:
  Head(const unsigned char* bytes, size_t length, size_t field) : data_(bytes), size_(std::min(length, kFoldHead)) {
    if (size_ >= 4 && field <= size_ - 4) {
      std::memcpy(copy_, bytes, size_);
      std::memset(copy_ + field, 0, 4);
      data_ = copy_;
    }
  }
  const unsigned char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  unsigned char copy_[kFoldHead];
  const unsigned char* data_;
  size_t size_;
};

uint32_t TablesCrc(const unsigned char* bytes, size_t length, size_t field) {
  const Head head(bytes, length, field);
  return CrcSliced(CrcSliced(kInitial, head.data(), head.size()), bytes + head.size(), length - head.size());
}

#ifdef TESSALY_CRC_CLMUL
uint32_t Clmul128Crc(const unsigned char* bytes, size_t length, size_t field) {
  if (length < kFoldHead) return TablesCrc(bytes, length, field);
  const Head head(bytes, length, field);
  return CrcClmul(head.data(), bytes + kFoldHead, length - kFoldHead);
}

uint32_t Vpclmul512Crc(const unsigned char* bytes, size_t length, size_t field) {
  if (length < kFoldHead) return TablesCrc(bytes, length, field);
  return CrcWide(bytes, length, field <= kFoldHead - 4 ? ~(0xFull << field) : ~0ull);
}
#endif

using PathCrc = uint32_t (*)(const unsigned char* bytes, size_t length, size_t field);

struct PathInfo {
  const char* name;
  PathCrc crc;  // null where this build has no such path
  bool available;
};

const PathInfo& Info(RecordCrcPath path) {
  static const auto infos = [] {
#ifdef TESSALY_CRC_CLMUL
    __builtin_cpu_init();
    const bool clmul = __builtin_cpu_supports("pclmul") != 0;
    const bool wide = clmul && __builtin_cpu_supports("vpclmulqdq") && __builtin_cpu_supports("avx512f") &&
                      __builtin_cpu_supports("avx512bw");
    return std::array{PathInfo{"vpclmul512", Vpclmul512Crc, wide}, PathInfo{"clmul128", Clmul128Crc, clmul},
                      PathInfo{"tables", TablesCrc, true}};
#else
    return std::array{PathInfo{"vpclmul512", nullptr, false}, PathInfo{"clmul128", nullptr, false},
                      PathInfo{"tables", TablesCrc, true}};
#endif
  }();
  static_assert(std::size(kRecordCrcPaths) == std::tuple_size_v<decltype(infos)>);
  return infos[static_cast<size_t>(path)];
}

PathCrc Fastest() {
  static const PathCrc crc = [] {
    for (RecordCrcPath path : kRecordCrcPaths)
      if (Info(path).available) return Info(path).crc;
    return TablesCrc;
  }();
  return crc;
}

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

uint32_t RecordCrcSliced(const unsigned char* bytes, size_t length) { return CrcSliced(kInitial, bytes, length); }

uint32_t RecordCrcFast(const unsigned char* bytes, size_t length) { return Fastest()(bytes, length, kNoField); }

uint32_t RecordCrcOfField(const unsigned char* bytes, size_t length, size_t field) {
  return Fastest()(bytes, length, field);
}

const char* RecordCrcPathName(RecordCrcPath path) { return Info(path).name; }

bool RecordCrcPathAvailable(RecordCrcPath path) { return Info(path).available; }

uint32_t RecordCrcFastOn(RecordCrcPath path, const unsigned char* bytes, size_t length) {
  return Info(path).crc(bytes, length, kNoField);
}

uint32_t RecordCrcOfFieldOn(RecordCrcPath path, const unsigned char* bytes, size_t length, size_t field) {
  return Info(path).crc(bytes, length, field);
}

}  // namespace tessaly::record
