#include <windows.h>

#include <string>

#include "support/names.h"
#include "support/sjis.h"

void cp932_to_utf8(const char* s, std::string* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    const int n = *p < 0x80 ? 1 : (sjis_lead(p[0]) && p[1] >= 0x40) ? 2 : 1;
    wchar_t w[4];
    const int got = *p < 0x80 ? 0
                              : MultiByteToWideChar(932, MB_ERR_INVALID_CHARS,
                                                    reinterpret_cast<const char*>(p), n, w, 4);
    if (got > 0) {
      char u[16];
      const int m = WideCharToMultiByte(CP_UTF8, 0, w, got, u, sizeof u, nullptr, nullptr);
      out->append(u, static_cast<std::size_t>(m > 0 ? m : 0));
    } else if (n == 2) {
      // Not CP932: the lead byte is shown as U+FFFD, and the byte after it,
      // no longer part of a character, must not become a '\\' or '|'.
      out->append("\xEF\xBF\xBD");
      out->push_back(p[1] == '\\' || p[1] == '|' ? '!' : static_cast<char>(p[1]));
    } else {
      out->append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(n));
    }
    p += n;
  }
}
