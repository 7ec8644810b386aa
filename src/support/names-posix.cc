#include <iconv.h>

#include <cstdint>
#include <string>

#include "support/names.h"
#include "support/sjis.h"

void cp932_to_utf8(const char* s, std::string* out) {
  // CP932 is stateless: a character that does not convert leaves nothing
  // behind in the descriptor.
  static iconv_t cd = ::iconv_open("UTF-8", "CP932");
  static const bool usable = reinterpret_cast<std::intptr_t>(cd) != -1;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    // A character: ASCII alone, a lead byte with a second byte from 0x40 up,
    // or any other single byte (half-width katakana among them).
    const std::size_t n = *p < 0x80 ? 1 : (sjis_lead(p[0]) && p[1] >= 0x40) ? 2 : 1;
    char utf8[8];
    char* o = utf8;
    std::size_t out_left = sizeof utf8;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(p));
    std::size_t in_left = n;
    if (*p >= 0x80 && usable &&
        ::iconv(cd, &in, &in_left, &o, &out_left) != static_cast<std::size_t>(-1)) {
      out->append(utf8, static_cast<std::size_t>(o - utf8));
    } else {
      out->append(reinterpret_cast<const char*>(p), n);
    }
    p += n;
  }
}
