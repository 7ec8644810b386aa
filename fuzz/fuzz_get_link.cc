// tag_end, get_href and get_caption on arbitrary pieces, called the way the
// scanner calls them, each checked against a plain reference written here.
//
// Input: the bytes after the opening double quote of an href value, up to the
// first NUL (a piece ends there) and at most kMaxText bytes, so that both
// sides of the 1024-byte limit of get_href and get_caption are reached. Every
// text is handed over in a heap block of its exact size, so a read past its
// terminator is caught.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "shortcut/get_link.h"

namespace {

constexpr std::size_t kMaxText = kLinkText + 64;

// First '>' outside double quotes; the opening quote of the value opens the
// first pair.
std::optional<std::size_t> ref_tag_end(const std::string& t) {
  bool quoted = false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '"') quoted = !quoted;
    if (t[i] == '>' && !quoted) return i;
  }
  return std::nullopt;
}

// The URL of an href value t (from its opening quote to the end of the start
// tag); *quote_at receives where the script form ends its argument.
std::optional<std::string> ref_href(const std::string& t, std::size_t* quote_at) {
  *quote_at = std::string::npos;
  if (t.size() > static_cast<std::size_t>(kLinkText)) return std::nullopt;
  if (t.rfind("\"javascript", 0) != 0 && t.rfind("\"JAVASCRIPT", 0) != 0) {
    const std::string v = t.substr(1);
    return v.substr(0, v.find('"'));
  }
  std::size_t i = t.find("window.open", 11);
  if (i == std::string::npos) return std::nullopt;
  i += 11;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
  if (i == t.size() || t[i] != '(') return std::nullopt;
  const std::size_t open = t.find('\'', i + 1);
  if (open == std::string::npos) return std::nullopt;
  const std::size_t close = t.find('\'', open + 1);
  if (close == std::string::npos) return std::nullopt;
  *quote_at = close;
  std::string url = t.substr(open + 1, close - open - 1);
  if (url.rfind("./", 0) == 0) url.erase(0, 2);
  return url;
}

// The caption with tags and double quotes removed.
std::optional<std::string> ref_caption(const std::string& t) {
  if (t.size() > static_cast<std::size_t>(kLinkText)) return std::nullopt;
  std::string out;
  bool in_tag = false;
  bool quoted = false;
  for (const char c : t) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '<') {
      in_tag = true;
    } else if (!quoted && c == '>') {
      in_tag = false;
    } else if (!in_tag) {
      out += c;
    }
  }
  return out;
}

std::unique_ptr<char[]> exact_copy(const std::string& s) {
  std::unique_ptr<char[]> p(new char[s.size() + 1]);
  std::memcpy(p.get(), s.c_str(), s.size() + 1);
  return p;
}

[[noreturn]] void fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "%s differs for a text of %zu bytes\n", what, text.size());
  std::abort();
}

bool same(const char* got, const std::optional<std::string>& want) {
  if (!want) return got == nullptr;
  return got != nullptr && std::strlen(got) == want->size() &&
         std::memcmp(got, want->data(), want->size()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  std::string piece = "\"";
  piece.append(bytes, strnlen(bytes, size < kMaxText ? size : kMaxText));

  // 1. Where the start tag ends.
  auto buf = exact_copy(piece);
  const char* gt = tag_end(buf.get());
  const auto want_gt = ref_tag_end(piece);
  if (want_gt ? gt != buf.get() + *want_gt : gt != nullptr) fail("tag_end", piece);

  // 2. The URL, with the piece cut at that '>' (or all of it when there is
  // none). Only the script form writes into its text: one NUL over the
  // quote that closes the argument.
  const std::string tag = want_gt ? piece.substr(0, *want_gt) : piece;
  auto tag_buf = exact_copy(tag);
  std::size_t quote_at = 0;
  const auto want_href = ref_href(tag, &quote_at);
  if (!same(get_href(tag_buf.get()), want_href)) fail("get_href", tag);
  std::string after = tag;
  if (want_href && quote_at != std::string::npos) after[quote_at] = '\0';
  if (std::memcmp(tag_buf.get(), after.c_str(), after.size() + 1) != 0) {
    fail("text left by get_href", tag);
  }

  // 3. The caption: what follows the '>' (or the piece after its quote).
  const std::string caption = want_gt ? piece.substr(*want_gt + 1) : piece.substr(1);
  auto cap_buf = exact_copy(caption);
  if (!same(get_caption(cap_buf.get()), ref_caption(caption))) fail("get_caption", caption);
  if (std::memcmp(cap_buf.get(), caption.c_str(), caption.size() + 1) != 0) {
    fail("get_caption changed its input", caption);
  }
  return 0;
}
