#include "shortcut/line_cache.h"

#include <cstddef>

#include "shortcut/get_link.h"
#include "shortcut/scan_steps.h"

namespace {

// The answer remembered in *c when p lies between where it was searched from
// and what it found; else a search from p for the tag upper or lower.
template <typename Found, std::size_t N>
char* find_close(Found* c, char* p, const char (&upper)[N], const char (&lower)[N]) {
  if (c->from != nullptr && p >= c->from && (c->at == nullptr || p <= c->at)) return c->at;
  char* close = find_tag(p, upper, lower);
  c->from = p;
  c->at = close;
  return close;
}

}  // namespace

void LineCache::reset(const char* line) {
  *this = LineCache{};
  quotes_to_ = line;
}

// The answer is the first '>' after q with an even number of quotes between,
// so it is the same for every q of one quote parity up to that '>'.
char* LineCache::tag_end_at(char* q) {
  for (; quotes_to_ < q; ++quotes_to_) {
    if (*quotes_to_ == '"') parity_ ^= 1;
  }
  const int c = parity_;
  if (end_from_[c] == nullptr || q < end_from_[c] || (end_at_[c] != nullptr && q >= end_at_[c])) {
    end_from_[c] = q;
    end_at_[c] = tag_end(q);
  }
  return end_at_[c];
}

char* LineCache::close_a(char* p) { return find_close(&close_a_, p, "</A>", "</a>"); }

char* LineCache::close_h3(char* p) { return find_close(&close_h3_, p, "</H3>", "</h3>"); }
