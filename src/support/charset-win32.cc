#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "support/charset.h"
#include "support/sjis.h"
#include "support/wide-win32.h"

namespace {

// The UTF-16 form of the n bytes at s, appended to *w; false, and nothing
// appended, when they hold a sequence the code page does not define.
bool widen_part(UINT cp, const char* s, int n, std::wstring* w) {
  const int len = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, s, n, nullptr, 0);
  if (len <= 0) return false;
  const std::size_t at = w->size();
  w->resize(at + static_cast<std::size_t>(len));
  MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, s, n, w->data() + at, len);
  return true;
}

}  // namespace

void cp932_to_utf8(const char* s, std::string* out) {
  const UINT cp = charset_names(Charset::kShiftJis).code_page;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    const int n = *p < 0x80 ? 1 : (sjis_lead(p[0]) && p[1] >= 0x40) ? 2 : 1;
    wchar_t w[4];
    const int got = *p < 0x80 ? 0
                              : MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS,
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

void charset_to_utf8(Charset c, const char* s, std::string* out) {
  UINT cp = charset_names(c).code_page;
  // A system without GB18030 reads its two-byte part, which is GBK.
  if (!IsValidCodePage(cp) && c == Charset::kGb18030) cp = charset_names(Charset::kGbk).code_page;
  const int n = static_cast<int>(std::strlen(s));
  std::wstring w;
  if (!widen_part(cp, s, n, &w)) {
    // Character by character: the shortest run of bytes (up to four, as in
    // GB18030) that converts is one; a byte where none starts is U+FFFD.
    w.clear();
    for (int i = 0; i < n;) {
      int len = 1;
      while (len <= 4 && i + len <= n && !widen_part(cp, s + i, len, &w)) ++len;
      if (len > 4 || i + len > n) {
        w.push_back(L'\xFFFD');
        len = 1;
      }
      i += len;
    }
  }
  // The windows-125x code pages give a byte they do not define as the C1
  // control of its value (0x81 -> U+0081); no byte they define is one.
  if (c >= Charset::kWindows1250 && c <= Charset::kWindows1258) {
    std::replace_if(
        w.begin(), w.end(), [](wchar_t u) { return u >= 0x80 && u <= 0x9F; }, L'\xFFFD');
  }
  out->append(narrow(w.c_str()));
}
