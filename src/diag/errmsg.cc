#include "diag/errmsg.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "support/sjis.h"

namespace {

// The formatter's result area: kErrText bytes of message and kErrExtra bytes
// behind them, which take the end of a number conversion begun below the
// limit and the terminator.
std::array<char, kErrText + kErrExtra> g_edit;

// Appends n bytes at *len, never past the area; the last byte stays free for
// the terminator. Only a %f of a huge value can reach that bound.
void put_bytes(std::size_t* len, const char* s, std::size_t n) {
  const std::size_t room = g_edit.size() - 1 - *len;
  if (n > room) n = room;
  std::memcpy(g_edit.data() + *len, s, n);
  *len += n;
}

// Writes the text edited so far to out and empties the area.
void spill_edit(std::FILE* out, std::size_t* len) {
  std::fwrite(g_edit.data(), 1, *len, out);
  *len = 0;
}

// Appends the text of a %s when it fits whole; else with spill writes the
// text so far and then s there, and without it drops s. s is measured only
// as far as it could fit: a text of megabytes costs no more than one that
// fits.
void put_string(std::size_t* len, const char* s, std::FILE* spill) {
  const std::size_t room = *len <= static_cast<std::size_t>(kErrText) ? kErrText - *len : 0;
  const void* end = std::memchr(s, '\0', room + 1);
  if (end != nullptr) {
    put_bytes(len, s, static_cast<std::size_t>(static_cast<const char*>(end) - s));
  } else if (spill != nullptr) {
    spill_edit(spill, len);
    std::fputs(s, spill);
  }
}

// err_edit's expansion. With spill, whatever would not fit goes out
// instead: the text so far is written there once it holds kErrText bytes,
// and before a %s that does not fit, which is then written whole.
char* edit(const char* fmt, va_list ap, std::FILE* spill) {
  std::size_t len = 0;
  const char* p = fmt;
  while (*p != '\0') {
    if (len >= static_cast<std::size_t>(kErrText)) {
      if (spill == nullptr) break;
      spill_edit(spill, &len);
    }
    if (p[0] == '\\' && p[1] != '\0') {
      put_bytes(&len, p + 1, 1);
      p += 2;
      continue;
    }
    if (p[0] != '%') {
      put_bytes(&len, p, 1);
      ++p;
      continue;
    }
    // A '%' as the last byte appends itself and ends the expansion.
    if (p[1] == '\0') {
      put_bytes(&len, p, 1);
      break;
    }
    char num[400];  // %f of the largest double needs 317 bytes
    int n = 0;
    switch (p[1]) {
      case 'c': {
        const char c = static_cast<char>(va_arg(ap, int));
        put_bytes(&len, &c, 1);
        break;
      }
      case 'd':
        n = std::snprintf(num, sizeof num, "%d", va_arg(ap, int));
        put_bytes(&len, num, static_cast<std::size_t>(n));
        break;
      case 'x':
        n = std::snprintf(num, sizeof num, "%x", static_cast<unsigned>(va_arg(ap, int)));
        put_bytes(&len, num, static_cast<std::size_t>(n));
        break;
      case 'f':
        n = std::snprintf(num, sizeof num, "%f", va_arg(ap, double));
        n = std::clamp(n, 0, static_cast<int>(sizeof num) - 1);
        put_bytes(&len, num, static_cast<std::size_t>(n));
        break;
      case 's': put_string(&len, va_arg(ap, const char*), spill); break;
      default:
        // No conversion: the '%' and the byte after it stand as they are.
        put_bytes(&len, p, 2);
        break;
    }
    p += 2;
  }
  g_edit[len] = '\0';
  return g_edit.data();
}

}  // namespace

char* err_edit(const char* fmt, va_list ap) { return edit(fmt, ap, nullptr); }

void errmsg(const char* fmt, ...) {
  const char* text = fmt;
  if (Strchr(fmt, '%') != nullptr) {
    va_list ap;
    va_start(ap, fmt);
    text = err_edit(fmt, ap);
    va_end(ap);
  }
  std::fprintf(stderr, "%s", text);
}

void errmsg_whole(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  const char* text = edit(fmt, ap, stderr);
  va_end(ap);
  std::fprintf(stderr, "%s", text);
}
