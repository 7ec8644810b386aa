#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "support/charset.h"
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

bool cp932_char(const unsigned char* p, std::size_t n, std::string* out) {
  const UINT cp = charset_names(Charset::kShiftJis).code_page;
  wchar_t w[4];
  const int got = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(p),
                                      static_cast<int>(n), w, 4);
  if (got <= 0) return false;
  char u[16];
  const int m = WideCharToMultiByte(CP_UTF8, 0, w, got, u, sizeof u, nullptr, nullptr);
  out->append(u, static_cast<std::size_t>(m > 0 ? m : 0));
  return true;
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
