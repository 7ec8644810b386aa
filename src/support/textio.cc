#include "support/textio.h"

#include <algorithm>
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
  // A read error ends the file too, which is then marked as not whole.
  const std::ptrdiff_t read = text_read_fd(in->fd, in->buf.data() + n, kTextInBuffer - n);
  if (read < 0) in->failed = true;
  const std::size_t got = read > 0 ? static_cast<std::size_t>(read) : 0;
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

// Hands put(src, n) the next bytes of the current line, at most most of them,
// up to and including its first LF, a piece of the read-ahead at a time; the
// count handed. Every line reader is this loop with its own put.
template <typename Put>
std::size_t read_on(TextIn* in, std::size_t most, Put put) {
  std::size_t got = 0;
  while (got < most) {
    if (in->pos == in->end && !refill(in)) break;
    const unsigned char* src = in->buf.data() + in->pos;
    const std::size_t n = through_lf(src, std::min(in->end - in->pos, most - got));
    put(src, n);
    got += n;
    in->pos += n;
    if (src[n - 1] == '\n') break;
  }
  return got;
}

}  // namespace

TextIn::~TextIn() { text_close(this); }

namespace {

void start(TextIn* in, int fd) {
  in->fd = fd;
  in->pos = in->end = 0;
  in->held_cr = in->eof = in->failed = false;
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
  char* end = buf;
  const std::size_t got =
      read_on(in, static_cast<std::size_t>(size - 1), [&](const unsigned char* src, std::size_t n) {
        std::memcpy(end, src, n);
        end += n;
      });
  if (got == 0 && size > 1) return nullptr;
  *end = '\0';
  return buf;
}

bool text_readon(TextIn* in, std::string* line, std::size_t most) {
  return read_on(in, most, [&](const unsigned char* src, std::size_t n) {
           line->append(reinterpret_cast<const char*>(src), n);
         }) > 0;
}

bool text_getline(TextIn* in, std::string* line) {
  line->clear();
  if (text_readon(in, line, std::string::npos) && !in->failed) return true;
  line->clear();
  return false;
}

void text_skipline(TextIn* in) {
  read_on(in, std::string::npos, [](const unsigned char* /*src*/, std::size_t /*n*/) {});
}

bool text_failed(const TextIn& in) { return in.failed; }

void text_close(TextIn* in) {
  if (in->fd >= 0) text_close_fd(in->fd);
  in->fd = -1;
}
