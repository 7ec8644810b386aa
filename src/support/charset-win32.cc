#include <windows.h>

#include <algorithm>
#include <cstring>

#include "support/charset.h"
#include "support/wide-win32.h"

namespace {

// The Windows code page of each encoding.
UINT code_page(Charset c) {
  switch (c) {
    case Charset::kShiftJis: return 932;
    case Charset::kUtf8: return CP_UTF8;
    case Charset::kWindows1250: return 1250;
    case Charset::kWindows1251: return 1251;
    case Charset::kWindows1252: return 1252;
    case Charset::kWindows1253: return 1253;
    case Charset::kWindows1254: return 1254;
    case Charset::kWindows1255: return 1255;
    case Charset::kWindows1256: return 1256;
    case Charset::kWindows1257: return 1257;
    case Charset::kWindows1258: return 1258;
    case Charset::kIso8859_2: return 28592;
    case Charset::kIso8859_5: return 28595;
    case Charset::kIso8859_7: return 28597;
    case Charset::kIso8859_15: return 28605;
    case Charset::kKoi8R: return 20866;
    case Charset::kKoi8U: return 21866;
    case Charset::kGbk: return 936;
    case Charset::kGb18030: return 54936;
    case Charset::kBig5: return 950;
    case Charset::kEucKr: return 949;
    case Charset::kEucJp: return 20932;
  }
  return CP_UTF8;
}

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

void charset_to_utf8(Charset c, const char* s, std::string* out) {
  UINT cp = code_page(c);
  // A system without GB18030 reads its two-byte part, which is GBK.
  if (!IsValidCodePage(cp) && c == Charset::kGb18030) cp = code_page(Charset::kGbk);
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
