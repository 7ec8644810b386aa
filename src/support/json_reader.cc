#include "support/json_reader.h"

#include <cstring>

#include "support/textio.h"

bool JsonIn::fill(std::size_t n) {
  while (end_ - p_ < n && !eof_) {
    if (p_ > 0) {
      std::memmove(buf_.data(), buf_.data() + p_, end_ - p_);
      base_ += static_cast<long long>(p_);
      end_ -= p_;
      p_ = 0;
    }
    const std::ptrdiff_t got = text_read_fd(fd_, buf_.data() + end_, buf_.size() - end_);
    if (got <= 0) {
      eof_ = true;
      failed_ = got < 0;
    } else {
      end_ += static_cast<std::size_t>(got);
    }
  }
  return end_ - p_ >= n;
}

void JsonIn::skip_bom() {
  if (fill(kUtf8Bom.size()) && std::memcmp(buf_.data(), kUtf8Bom.data(), kUtf8Bom.size()) == 0) {
    p_ = kUtf8Bom.size();
  }
}

long JsonIn::hex4(const unsigned char* p) {
  long v = 0;
  for (int i = 0; i < 4; ++i) {
    const int c = p[i];
    const int d = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

void JsonIn::mend_surrogate() {
  fill(10);
  if (end_ - p_ < 4) return;
  unsigned char* d = buf_.data() + p_;
  const long v = hex4(d);
  const bool high = v >= 0xD800 && v <= 0xDBFF;
  const bool low = v >= 0xDC00 && v <= 0xDFFF;
  if (low && low_due_) {
    low_due_ = false;
    return;
  }
  if (high && end_ - p_ >= 10 && d[4] == '\\' && d[5] == 'u') {
    const long next = hex4(d + 6);
    low_due_ = next >= 0xDC00 && next <= 0xDFFF;
    if (low_due_) return;
  }
  if (high || low) std::copy_n("FFFD", 4, d);
}

void JsonIn::seek(JsonMark at) {
  if (fd_ >= 0) {
    base_ = static_cast<long long>(at.offset);
    p_ = end_ = 0;
    eof_ = !text_seek_fd(fd_, base_);
    failed_ = failed_ || eof_;
  } else {
    p_ = std::min(at.offset, end_);
  }
  line_ = at.line;
  in_string_ = escape_ = low_due_ = false;
}
