#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "support/charset.h"

namespace {

// iconv's name of each encoding that converts. iconv's CP949 and CP950 are
// the Windows supersets of EUC-KR and Big5, as the Windows build reads them.
const char* iconv_name(Charset c) {
  switch (c) {
    case Charset::kShiftJis: return "CP932";
    case Charset::kUtf8: return "UTF-8";
    case Charset::kWindows1250: return "CP1250";
    case Charset::kWindows1251: return "CP1251";
    case Charset::kWindows1252: return "CP1252";
    case Charset::kWindows1253: return "CP1253";
    case Charset::kWindows1254: return "CP1254";
    case Charset::kWindows1255: return "CP1255";
    case Charset::kWindows1256: return "CP1256";
    case Charset::kWindows1257: return "CP1257";
    case Charset::kWindows1258: return "CP1258";
    case Charset::kIso8859_2: return "ISO-8859-2";
    case Charset::kIso8859_5: return "ISO-8859-5";
    case Charset::kIso8859_7: return "ISO-8859-7";
    case Charset::kIso8859_15: return "ISO-8859-15";
    case Charset::kKoi8R: return "KOI8-R";
    case Charset::kKoi8U: return "KOI8-U";
    case Charset::kGbk: return "CP936";
    case Charset::kGb18030: return "GB18030";
    case Charset::kBig5: return "CP950";
    case Charset::kEucKr: return "CP949";
    case Charset::kEucJp: return "EUC-JP";
  }
  return "UTF-8";
}

constexpr std::size_t kCharsets = static_cast<std::size_t>(Charset::kEucJp) + 1;
constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Appends what cd holds back and returns it to its initial state. A
// windows-1258 converter keeps a base letter until it sees whether a tone
// mark follows to combine with it: "a" alone gives nothing until this call.
void flush(iconv_t cd, std::string* out) {
  char buf[16];  // at most one character is held back
  char* o = buf;
  std::size_t out_left = sizeof buf;
  ::iconv(cd, nullptr, nullptr, &o, &out_left);
  out->append(buf, static_cast<std::size_t>(o - buf));
}

}  // namespace

void charset_to_utf8(Charset c, const char* s, std::string* out) {
  // One descriptor per encoding for the whole run, opened when first needed.
  static std::array<iconv_t, kCharsets> cds{};
  static std::array<bool, kCharsets> opened{};
  const auto i = static_cast<std::size_t>(c);
  if (!opened[i]) {
    cds[i] = ::iconv_open("UTF-8", iconv_name(c));
    opened[i] = true;
  }
  iconv_t cd = cds[i];
  char* in = const_cast<char*>(s);
  std::size_t in_left = std::strlen(s);
  if (reinterpret_cast<std::intptr_t>(cd) == -1) {
    // No converter on this system: every byte outside ASCII is undefined.
    for (; in_left > 0; ++in, --in_left) {
      if (static_cast<unsigned char>(*in) < 0x80) {
        out->push_back(*in);
      } else {
        out->append(kReplacement);
      }
    }
    return;
  }
  ::iconv(cd, nullptr, nullptr, nullptr, nullptr);  // nothing of the last text
  char buf[256];
  for (;;) {
    char* o = buf;
    std::size_t out_left = sizeof buf;
    const std::size_t r = ::iconv(cd, &in, &in_left, &o, &out_left);
    const int error = errno;
    out->append(buf, static_cast<std::size_t>(o - buf));
    if (r != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    // An undefined or cut sequence: what comes before it is given out whole,
    // its first byte is U+FFFD, and the conversion starts over at the next.
    flush(cd, out);
    out->append(kReplacement);
    ++in;
    --in_left;
  }
  flush(cd, out);
}
