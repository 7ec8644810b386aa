#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "support/charset.h"

namespace {

// The descriptor that converts c to UTF-8, opened when first needed and kept
// for the whole run; (iconv_t)-1 when this system has no converter for c.
iconv_t converter(Charset c) {
  static std::array<iconv_t, kCharsets> cds{};
  static std::array<bool, kCharsets> opened{};
  const auto i = static_cast<std::size_t>(c);
  if (!opened[i]) {
    cds[i] = ::iconv_open("UTF-8", charset_names(c).iconv);
    opened[i] = true;
  }
  return cds[i];
}

bool usable(iconv_t cd) { return reinterpret_cast<std::intptr_t>(cd) != -1; }

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

bool cp932_char(const unsigned char* p, std::size_t n, std::string* out) {
  // CP932 is stateless: a character that does not convert leaves nothing
  // behind in the descriptor.
  iconv_t cd = converter(Charset::kShiftJis);
  if (!usable(cd)) return false;
  char utf8[8];
  char* o = utf8;
  std::size_t out_left = sizeof utf8;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
  std::size_t in_left = n;
  if (::iconv(cd, &in, &in_left, &o, &out_left) == static_cast<std::size_t>(-1)) return false;
  out->append(utf8, static_cast<std::size_t>(o - utf8));
  return true;
}

void charset_to_utf8(Charset c, const char* s, std::string* out) {
  iconv_t cd = converter(c);
  char* in = const_cast<char*>(s);
  std::size_t in_left = std::strlen(s);
  if (!usable(cd)) {
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
