#include "support/textio.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "support/port.h"

namespace {

constexpr unsigned char kCtrlZ = 0x1A;

}  // namespace

std::size_t text_end(const unsigned char* b, std::size_t n) {
  if constexpr (kCtrlZEndsText) {
    const auto* z = static_cast<const unsigned char*>(std::memchr(b, kCtrlZ, n));
    if (z != nullptr) return static_cast<std::size_t>(z - b);
  }
  return n;
}

namespace {

// Drops the CR of every CR LF pair of b[0..n), compacting in place, and
// returns the new length. Moves whole runs between CRs:
//   "a\r\nb\rc" -> "a\nb\rc"
std::size_t drop_cr_of_crlf(unsigned char* b, std::size_t n) {
  auto* w = static_cast<unsigned char*>(std::memchr(b, '\r', n));
  if (w == nullptr) return n;
  const unsigned char* end = b + n;
  const unsigned char* r = w;
  while (r < end) {
    // r is at a CR: drop it when an LF follows, keep it otherwise.
    if (r + 1 < end && r[1] == '\n') ++r;
    const auto rest = static_cast<std::size_t>(end - r - 1);
    auto* next = static_cast<const unsigned char*>(std::memchr(r + 1, '\r', rest));
    if (next == nullptr) next = end;
    const auto len = static_cast<std::size_t>(next - r);
    std::memmove(w, r, len);
    w += len;
    r = next;
  }
  return static_cast<std::size_t>(w - b);
}

// Refills in->buf with the next translated bytes. Raw bytes are read behind
// a CR held back from the previous read; where a Ctrl-Z ends the file they
// stop before it and nothing more is read. Then each CR directly followed by
// LF is dropped. A CR that is the last raw byte is held back until the next
// read shows whether an LF follows (or the file ends, where it stays a CR):
//   "a\r" | "\nb\x1A\r\n" -> "a" | "\nb" on Windows, "a" | "\nb\x1A\n" on POSIX
// False at the end of the file.
bool refill(TextIn* in) {  // NOLINT(misc-no-recursion): one level at most, see the end
  in->pos = 0;
  in->end = 0;
  if (in->eof) return false;
  std::size_t n = 0;
  if (in->held_cr) in->buf[n++] = '\r';
  in->held_cr = false;
  // A read error ends the file too.
  const std::size_t got = text_read_fd(in->fd, in->buf.data() + n, kTextInBuffer - n);
  const std::size_t keep = text_end(in->buf.data() + n, got);
  in->eof = got == 0 || keep < got;
  n += keep;
  if (!in->eof && in->buf[n - 1] == '\r') {
    in->held_cr = true;
    --n;
  }
  n = drop_cr_of_crlf(in->buf.data(), n);
  in->end = n;
  // Everything read may have been a lone held CR: read on. The next call
  // starts with that CR in hand, so it returns without calling again.
  return n > 0 || refill(in);
}

// The length of src[0..n) up to and including its first LF, or n when it has
// none.
std::size_t through_lf(const unsigned char* src, std::size_t n) {
  const auto* lf = static_cast<const unsigned char*>(std::memchr(src, '\n', n));
  return lf != nullptr ? static_cast<std::size_t>(lf - src) + 1 : n;
}

}  // namespace

TextIn::~TextIn() { text_close(this); }

namespace {

void start(TextIn* in, int fd) {
  in->fd = fd;
  in->pos = in->end = 0;
  in->held_cr = in->eof = false;
}

}  // namespace

TextOpen text_open_regular(TextIn* in, const char* path, const Folder* folder) {
  text_close(in);
  const int fd = text_open_regular_fd(path, folder);
  if (fd == kNotRegularFd) return TextOpen::kNotRegular;
  if (fd < 0) return TextOpen::kNotFound;
  start(in, fd);
  return TextOpen::kOpened;
}

bool text_open(TextIn* in, const char* path) {
  text_close(in);
  const int fd = text_open_fd(path);
  if (fd < 0) return false;
  start(in, fd);
  // The first read is made now: a POSIX directory opens but cannot be read
  // (EISDIR), and counts as a file that cannot be opened.
  errno = 0;
  if (!refill(in) && errno == EISDIR) {
    text_close(in);
    return false;
  }
  return true;
}

char* text_gets(char* buf, int size, TextIn* in) {
  if (size <= 0) return nullptr;
  const auto want = static_cast<std::size_t>(size - 1);
  std::size_t got = 0;
  while (got < want) {
    if (in->pos == in->end && !refill(in)) break;
    const unsigned char* src = in->buf.data() + in->pos;
    std::size_t n = in->end - in->pos;
    if (n > want - got) n = want - got;
    n = through_lf(src, n);
    std::memcpy(buf + got, src, n);
    got += n;
    in->pos += n;
    if (src[n - 1] == '\n') break;
  }
  if (got == 0 && size > 1) return nullptr;
  buf[got] = '\0';
  return buf;
}

bool text_getline(TextIn* in, std::string* line) {
  line->clear();
  for (;;) {
    if (in->pos == in->end && !refill(in)) return !line->empty();
    const unsigned char* src = in->buf.data() + in->pos;
    const std::size_t take = through_lf(src, in->end - in->pos);
    line->append(reinterpret_cast<const char*>(src), take);
    in->pos += take;
    if (src[take - 1] == '\n') return true;
  }
}

void text_close(TextIn* in) {
  if (in->fd >= 0) text_close_fd(in->fd);
  in->fd = -1;
}
