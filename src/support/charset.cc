#include "support/charset.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "support/sjis.h"
#include "support/textio.h"

namespace {

// (charset is read through an iterator, which cppcheck does not follow.)
struct Label {
  const char* name;  // lower case
  // cppcheck-suppress unusedStructMember
  Charset charset;
};

// Every label a META tag may name an encoding by; any other is no declaration.
constexpr std::array kLabels{
    Label{"utf-8", Charset::kUtf8},
    Label{"utf8", Charset::kUtf8},
    Label{"unicode-1-1-utf-8", Charset::kUtf8},
    Label{"shift_jis", Charset::kShiftJis},
    Label{"shift-jis", Charset::kShiftJis},
    Label{"sjis", Charset::kShiftJis},
    Label{"x-sjis", Charset::kShiftJis},
    Label{"ms_kanji", Charset::kShiftJis},
    Label{"csshiftjis", Charset::kShiftJis},
    Label{"windows-31j", Charset::kShiftJis},
    Label{"ms932", Charset::kShiftJis},
    Label{"cp932", Charset::kShiftJis},
    Label{"windows-1250", Charset::kWindows1250},
    Label{"windows-1251", Charset::kWindows1251},
    Label{"windows-1252", Charset::kWindows1252},
    Label{"iso-8859-1", Charset::kWindows1252},
    Label{"latin1", Charset::kWindows1252},
    Label{"l1", Charset::kWindows1252},
    Label{"us-ascii", Charset::kWindows1252},
    Label{"ascii", Charset::kWindows1252},
    Label{"windows-1253", Charset::kWindows1253},
    Label{"windows-1254", Charset::kWindows1254},
    Label{"windows-1255", Charset::kWindows1255},
    Label{"windows-1256", Charset::kWindows1256},
    Label{"windows-1257", Charset::kWindows1257},
    Label{"windows-1258", Charset::kWindows1258},
    Label{"iso-8859-2", Charset::kIso8859_2},
    Label{"iso-8859-5", Charset::kIso8859_5},
    Label{"iso-8859-7", Charset::kIso8859_7},
    Label{"iso-8859-15", Charset::kIso8859_15},
    Label{"koi8-r", Charset::kKoi8R},
    Label{"koi8-u", Charset::kKoi8U},
    Label{"gbk", Charset::kGbk},
    Label{"gb2312", Charset::kGbk},
    Label{"x-gbk", Charset::kGbk},
    Label{"gb18030", Charset::kGb18030},
    Label{"big5", Charset::kBig5},
    Label{"big5-hkscs", Charset::kBig5},
    Label{"euc-kr", Charset::kEucKr},
    Label{"ks_c_5601-1987", Charset::kEucKr},
    Label{"euc-jp", Charset::kEucJp},
};

// Where a run of ASCII bytes from p ends (at most at end), 32 bytes a time
// while they last: the file check spends its time here on a mostly ASCII file.
const unsigned char* skip_ascii(const unsigned char* p, const unsigned char* end) {
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  while (end - p >= 32) {
    std::array<std::uint64_t, 4> w{};
    std::memcpy(w.data(), p, 32);
    if (((w[0] | w[1] | w[2] | w[3]) & kHigh) != 0) break;
    p += 32;
  }
  while (p < end && *p < 0x80) ++p;
  return p;
}

}  // namespace

bool charset_of_label(std::string_view label, Charset* out) {
  const auto* l = std::find_if(kLabels.begin(), kLabels.end(),
                               [&](const Label& k) { return equal_nocase(label, k.name); });
  if (l == kLabels.end()) return false;
  *out = l->charset;
  return true;
}

bool utf8_prefix(const unsigned char* p, std::size_t n, std::size_t* used) {
  const unsigned char* const begin = p;
  const unsigned char* const end = p + n;
  while ((p = skip_ascii(p, end)) < end) {
    // A lead byte gives the length and the range of the byte after it, which
    // shuts out overlong forms (E0, F0), surrogates (ED) and what lies above
    // U+10FFFF (F4); every other byte after it is 80..BF.
    //   C2..DF: 2   E0: A0..BF   E1..EC, EE..EF: 3   ED: 80..9F   F0: 90..BF   F1..F3: 4 F4: 80..8F
    const unsigned char c = *p;
    std::size_t len = 4;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c == 0xF0) {
      lo = 0x90;
    } else if (c == 0xF4) {
      hi = 0x8F;
    } else if (c < 0xF1 || c > 0xF3) {
      *used = static_cast<std::size_t>(p - begin);
      return false;
    }
    for (std::size_t k = 1; k < len; ++k) {
      if (p + k == end) break;  // cut by the end: the next bytes may complete it
      if (p[k] < lo || p[k] > hi) {
        *used = static_cast<std::size_t>(p - begin);
        return false;
      }
      lo = 0x80;
      hi = 0xBF;
    }
    if (end - p < static_cast<std::ptrdiff_t>(len)) break;
    p += len;
  }
  *used = static_cast<std::size_t>(p - begin);
  return true;
}

bool file_is_utf8(const TextIn& in) {
  const int fd = in.fd;
  const long long back = text_tell_fd(fd);
  if (back < 0 || !text_seek_fd(fd, 0)) return false;
  // A sequence cut by the end of one read is moved to the front of the
  // buffer and completed by the next.
  constexpr std::size_t kHeld = 3;
  const auto buf = std::make_unique<unsigned char[]>(kTextInBuffer + kHeld);
  std::size_t held = 0;
  bool valid = true;
  for (bool more = true; valid && more;) {
    const std::size_t raw = text_read_fd(fd, buf.get() + held, kTextInBuffer);
    const std::size_t got = text_end(buf.get() + held, raw);
    more = raw != 0 && got == raw;  // a Ctrl-Z ends the text as the end of the file does
    std::size_t used = 0;
    valid = utf8_prefix(buf.get(), held + got, &used);
    held = held + got - used;
    std::memmove(buf.get(), buf.get() + used, held);
  }
  return text_seek_fd(fd, back) && valid && held == 0;
}
