#include "platform/text/gbk_transcode.h"

#include <unicode/ucnv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "platform/text/code_page.h"
#include "platform/text/icu_converter.h"

namespace platform::text {
namespace {

using Byte = unsigned char;

std::string ThroughUtf16(std::string_view bytes, int from, int to) {
  return FromUtf16(ToUtf16(bytes, from), to);
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Copies the bytes below 0x80 that start at `p` to `o`, which has room for at least as many
// bytes as are left from `p`; sixteen at a time where it can. Returns how many.
std::size_t CopyAscii(const Byte* p, const Byte* end, char* o) {
  const Byte* const start = p;
#if defined(__SSE2__)
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), block);
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
    if (high != 0) return static_cast<std::size_t>(p - start) + std::countr_zero(high);
    p += 16;
    o += 16;
  }
#endif
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if ((word & kHighBits) != 0) break;
    std::memcpy(o, p, sizeof word);
    p += sizeof word;
    o += sizeof word;
  }
  while (p < end && *p < 0x80) *o++ = static_cast<char>(*p++);
  return static_cast<std::size_t>(p - start);
}

// The output of the code page 936 to UTF-8 direction, where one byte can give three.
class Output {
 public:
  explicit Output(std::size_t size) : text_(size, '\0'), at_(text_.data()) {}
  // Where the next `count` bytes go.
  char* Room(std::size_t count) {
    if (static_cast<std::size_t>(text_.data() + text_.size() - at_) < count) Grow(count);
    return at_;
  }
  void Wrote(std::size_t count) { at_ += count; }
  void Append(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    Wrote(bytes.size());
  }
  std::string Take() && {
    text_.resize(static_cast<std::size_t>(at_ - text_.data()));
    return std::move(text_);
  }

 private:
  void Grow(std::size_t count) {
    const auto used = static_cast<std::size_t>(at_ - text_.data());
    text_.resize(std::max(text_.size() * 2, used + count));
    at_ = text_.data() + used;
  }

  std::string text_;
  char* at_;
};

// ---- UTF-8 to code page 936 ----

// A character's code page 936 bytes: a value below 0x100 is one byte, anything else a lead
// byte (0x81 and up) and a trail byte.
constexpr std::uint16_t kNotInTable = 0xFFFF;

struct GbkOfBmp {
  bool usable = false;
  std::array<std::uint16_t, 0x10000> code{};
};

std::uint16_t GbkCode(UConverter* converter, char16_t unit) {
  ucnv_resetFromUnicode(converter);
  const UChar source[] = {unit};
  const UChar* from = source;
  char bytes[8];
  char* to = bytes;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_fromUnicode(converter, &to, bytes + sizeof bytes, &from, source + 1, nullptr, true, &status);
  if (U_FAILURE(status)) return kNotInTable;
  const auto lead = static_cast<Byte>(bytes[0]);
  if (to - bytes == 1) return lead;
  if (to - bytes == 2 && lead >= 0x81) {
    return static_cast<std::uint16_t>(lead << 8 | static_cast<Byte>(bytes[1]));
  }
  return kNotInTable;
}

// Asks the converter of the plain way for every character of the basic plane once.
const GbkOfBmp& GbkOfBmpTable() {
  static const std::unique_ptr<const GbkOfBmp> table = [] {
    auto made = std::make_unique<GbkOfBmp>();
    made->code.fill(kNotInTable);
    const converters::Converter converter =
        converters::OpenFromUtf16Converter(kCodePageGbk, Unmappable::kReplace);
    if (!converter) return made;
    // ASCII is copied as it stands, which holds only if the converter agrees.
    for (char16_t unit = 0; unit < 0x80; ++unit) {
      if (GbkCode(converter.get(), unit) != unit) return made;
    }
    for (std::uint32_t unit = 0x80; unit < 0x10000; ++unit) {
      if (unit >= 0xD800 && unit <= 0xDFFF) continue;
      made->code[unit] = GbkCode(converter.get(), static_cast<char16_t>(unit));
    }
    made->usable = true;
    return made;
  }();
  return *table;
}

bool IsContinuation(Byte byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the well-formed two- or three-byte sequence at `p`, with its code point; 0 for
// anything else, four-byte sequences included.
std::size_t DecodeBmp(const Byte* p, const Byte* end, char32_t& code_point) {
  const Byte lead = p[0];
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (end - p < 3 || !IsContinuation(p[1]) || !IsContinuation(p[2])) return 0;
    code_point = static_cast<char32_t>((lead & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
    const bool overlong = code_point < 0x800;
    const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
    return overlong || surrogate ? 0 : 3;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (end - p < 2 || !IsContinuation(p[1])) return 0;
    code_point = static_cast<char32_t>((lead & 0x1F) << 6 | (p[1] & 0x3F));
    return 2;
  }
  return 0;
}

}  // namespace

std::string TranscodeUtf8ToGbk(std::string_view utf8) {
  if (utf8.empty() || !converters::FitsIcuLength(utf8.size())) return {};
  const GbkOfBmp& table = GbkOfBmpTable();
  if (!table.usable) return ThroughUtf16(utf8, kCodePageUtf8, kCodePageGbk);
  const auto* p = reinterpret_cast<const Byte*>(utf8.data());
  const Byte* const end = p + utf8.size();
  // No character gives more 936 bytes than its UTF-8 ones: while the room left is at least
  // the input left, a character may write two bytes unchecked. Only the converters' pieces
  // below can ask for more.
  std::string out(utf8.size(), '\0');
  char* o = out.data();
  const std::uint16_t* const codes = table.code.data();
  while (p < end) {
    const std::size_t ascii = CopyAscii(p, end, o);
    p += ascii;
    o += ascii;
    while (p < end && *p >= 0x80) {
      // The Chinese of a page: three-byte characters one after another.
      while (end - p >= 3 && (p[0] & 0xF0) == 0xE0 && IsContinuation(p[1]) &&
             IsContinuation(p[2])) {
        const auto code_point =
            static_cast<char32_t>((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
        const std::uint16_t code = code_point >= 0x800 ? codes[code_point] : kNotInTable;
        if (code == kNotInTable) break;
        const bool single = code < 0x100;
        o[0] = static_cast<char>(single ? code : code >> 8);
        o[1] = static_cast<char>(code & 0xFF);
        o += single ? 1 : 2;
        p += 3;
      }
      if (p == end || *p < 0x80) break;
      char32_t code_point = 0;
      const std::size_t length = DecodeBmp(p, end, code_point);
      const std::uint16_t code = length != 0 ? codes[code_point] : kNotInTable;
      if (code != kNotInTable) {
        const bool single = code < 0x100;
        o[0] = static_cast<char>(single ? code : code >> 8);
        o[1] = static_cast<char>(code & 0xFF);
        o += single ? 1 : 2;
        p += length;
        continue;
      }
      // Malformed bytes, four-byte sequences and characters the table does not hold go to the
      // converters, up to the next byte that cannot continue a sequence: a decoder starts
      // afresh there whatever came before, so the pieces join as the whole would convert.
      const Byte* piece_end = p + 1;
      while (piece_end < end && IsContinuation(*piece_end)) ++piece_end;
      const std::string piece =
          ThroughUtf16(std::string_view(reinterpret_cast<const char*>(p),
                                        static_cast<std::size_t>(piece_end - p)),
                       kCodePageUtf8, kCodePageGbk);
      const auto written = static_cast<std::size_t>(o - out.data());
      const std::size_t needed = written + piece.size() + static_cast<std::size_t>(end - piece_end);
      if (needed > out.size()) out.resize(needed);
      o = out.data() + written;
      std::memcpy(o, piece.data(), piece.size());
      o += piece.size();
      p = piece_end;
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

// ---- code page 936 to UTF-8 ----

namespace {

constexpr Byte kFirstLead = 0x81;
constexpr Byte kLastLead = 0xFE;
constexpr Byte kFirstTrail = 0x40;
constexpr std::size_t kTrails = 0x100 - kFirstTrail;

// 0 marks bytes the table does not decode.
struct BmpOfGbk {
  bool usable = false;
  std::array<char16_t, 0x80> single{};  // bytes 0x80 to 0xFF standing alone
  std::array<char16_t, (kLastLead - kFirstLead + 1) * kTrails> pair{};
};

std::u16string Decoded(UConverter* converter, std::initializer_list<Byte> bytes) {
  ucnv_resetToUnicode(converter);
  char source[4];
  std::size_t count = 0;
  for (Byte byte : bytes) source[count++] = static_cast<char>(byte);
  const char* from = source;
  UChar units[8];
  UChar* to = units;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_toUnicode(converter, &to, units + 8, &from, source + count, nullptr, true, &status);
  if (U_FAILURE(status)) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(units),
                        static_cast<std::size_t>(to - units));
}

// A unit the table may give: not a replacement the decoder writes for bytes it rejects.
bool IsPlainUnit(char16_t unit) {
  return unit != 0 && unit != 0x1A && unit != 0xFFFD && (unit < 0xD800 || unit > 0xDFFF);
}

const BmpOfGbk& BmpOfGbkTable() {
  static const std::unique_ptr<const BmpOfGbk> table = [] {
    auto made = std::make_unique<BmpOfGbk>();
    const converters::Converter converter = converters::OpenConverter(kCodePageGbk);
    if (!converter) return made;
    for (Byte byte = 0; byte < 0x80; ++byte) {
      if (Decoded(converter.get(), {byte}) != std::u16string(1, byte)) return made;
    }
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
      const auto b = static_cast<Byte>(byte);
      // A byte that stands alone decodes the same whatever follows it; a lead byte does not.
      const std::u16string alone = Decoded(converter.get(), {b});
      if (alone.size() == 1 && IsPlainUnit(alone[0]) &&
          Decoded(converter.get(), {b, 'A'}) == alone + u'A' &&
          Decoded(converter.get(), {b, 0x81, 0x40}).starts_with(alone)) {
        made->single[byte - 0x80] = alone[0];
      }
    }
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
      if (made->single[lead - 0x80] != 0) continue;
      for (unsigned trail = kFirstTrail; trail <= 0xFF; ++trail) {
        const std::u16string unit =
            Decoded(converter.get(), {static_cast<Byte>(lead), static_cast<Byte>(trail)});
        if (unit.size() == 1 && IsPlainUnit(unit[0])) {
          made->pair[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] = unit[0];
        }
      }
    }
    made->usable = true;
    return made;
  }();
  return *table;
}

std::size_t PutUtf8(char16_t unit, char* at) {
  if (unit < 0x80) {
    at[0] = static_cast<char>(unit);
    return 1;
  }
  if (unit < 0x800) {
    at[0] = static_cast<char>(0xC0 | unit >> 6);
    at[1] = static_cast<char>(0x80 | (unit & 0x3F));
    return 2;
  }
  at[0] = static_cast<char>(0xE0 | unit >> 12);
  at[1] = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
  at[2] = static_cast<char>(0x80 | (unit & 0x3F));
  return 3;
}

}  // namespace

std::string TranscodeGbkToUtf8(std::string_view gbk) {
  if (gbk.empty() || !converters::FitsIcuLength(gbk.size())) return {};
  const BmpOfGbk& table = BmpOfGbkTable();
  if (!table.usable) return ThroughUtf16(gbk, kCodePageGbk, kCodePageUtf8);
  const auto* p = reinterpret_cast<const Byte*>(gbk.data());
  const Byte* const end = p + gbk.size();
  Output out(gbk.size() + gbk.size() / 2);
  while (p < end) {
    const std::size_t ascii = CopyAscii(p, end, out.Room(static_cast<std::size_t>(end - p)));
    out.Wrote(ascii);
    p += ascii;
    while (p < end && *p >= 0x80) {
      char16_t unit = table.single[*p - 0x80];
      std::size_t length = 1;
      if (unit == 0 && *p >= kFirstLead && *p <= kLastLead && end - p >= 2 && p[1] >= kFirstTrail) {
        unit = table.pair[(*p - kFirstLead) * kTrails + (p[1] - kFirstTrail)];
        length = 2;
      }
      if (unit == 0) {
        // How the decoder takes up again after bytes it rejects is its own affair; the rest
        // of the text goes to it whole.
        out.Append(ThroughUtf16(
            std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)),
            kCodePageGbk, kCodePageUtf8));
        return std::move(out).Take();
      }
      out.Wrote(PutUtf8(unit, out.Room(3)));
      p += length;
    }
  }
  return std::move(out).Take();
}

}  // namespace platform::text
