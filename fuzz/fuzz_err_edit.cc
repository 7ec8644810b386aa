// err_edit with arbitrary formats and arguments, against a reference
// expansion written here from the formatter's rules.
//
// Input: the format up to the first NUL, then the argument bytes. The types
// of the arguments are read off the format the way err_edit walks it: an int
// for %c %d %x (4 bytes), a double for %f (8 bytes), a string for %s (2 bytes
// of length, then the bytes; a NUL among them ends the string). Missing bytes
// read as zero. A format is cut before its (kMaxArgs+1)-th conversion, since
// the call is built from at most kMaxArgs arguments.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "diag/errmsg.h"

namespace {

constexpr std::size_t kMaxArgs = 6;

struct Arg {
  char conv;  // c d x f s
  int i = 0;
  double d = 0.0;
  std::string s;
};

class Bytes {
 public:
  explicit Bytes(std::string_view in) : in_(in) {}
  template <typename T>
  T take() {
    T v{};
    const std::size_t n = in_.size() < sizeof v ? in_.size() : sizeof v;
    if (n != 0) std::memcpy(&v, in_.data(), n);
    in_.remove_prefix(n);
    return v;
  }
  std::string take_string() {
    std::size_t n = take<std::uint16_t>();
    if (n > in_.size()) n = in_.size();
    std::string s(in_.substr(0, n));
    in_.remove_prefix(n);
    return s.substr(0, s.find('\0'));
  }

 private:
  std::string_view in_;
};

// The conversions of fmt in order, each with its argument; fmt is cut where
// a conversion beyond kMaxArgs would begin.
std::vector<Arg> take_args(std::string* fmt, Bytes* bytes) {
  std::vector<Arg> args;
  for (std::size_t i = 0; i < fmt->size(); ++i) {
    const char c = (*fmt)[i];
    if (c == '\\' && i + 1 < fmt->size()) {
      ++i;
    } else if (c == '%' && i + 1 < fmt->size()) {
      const char conv = (*fmt)[i + 1];
      if (std::strchr("cdxfs", conv) != nullptr) {
        if (args.size() == kMaxArgs) {
          fmt->resize(i);
          break;
        }
        Arg a;
        a.conv = conv;
        if (conv == 'f') {
          a.d = bytes->take<double>();
        } else if (conv == 's') {
          a.s = bytes->take_string();
        } else {
          a.i = bytes->take<int>();
        }
        args.push_back(a);
      }
      ++i;
    }
  }
  return args;
}

// The expansion by the formatter's rules, kept as bytes (a %c of 0 stays in).
std::string reference(const std::string& fmt, const std::vector<Arg>& args) {
  std::string out;
  std::size_t next = 0;
  char num[512];
  for (std::size_t i = 0; out.size() < static_cast<std::size_t>(kErrText) && i < fmt.size(); ++i) {
    const char c = fmt[i];
    if (c == '\\' && i + 1 < fmt.size()) {
      out += fmt[++i];
    } else if (c != '%') {
      out += c;
    } else if (i + 1 == fmt.size()) {
      out += '%';
    } else {
      const char conv = fmt[++i];
      if (std::strchr("cdxfs", conv) == nullptr) {
        out += '%';
        out += conv;
        continue;
      }
      const Arg& a = args[next++];
      switch (conv) {
        case 'c': out += static_cast<char>(a.i); break;
        case 'd': out += std::to_string(a.i); break;
        case 'x':
          std::snprintf(num, sizeof num, "%x", static_cast<unsigned>(a.i));
          out += num;
          break;
        case 'f':
          std::snprintf(num, sizeof num, "%f", a.d);
          out += num;
          break;
        default:
          if (a.s.size() + out.size() <= static_cast<std::size_t>(kErrText)) out += a.s;
          break;
      }
    }
  }
  // Only a %f of a huge value can run past the area; it is cut at its end.
  constexpr std::size_t kArea = kErrText + kErrExtra - 1;
  if (out.size() > kArea) out.resize(kArea);
  return out;
}

char* call_err_edit(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  char* text = err_edit(fmt, ap);
  va_end(ap);
  return text;
}

// Calls err_edit with args[i..] appended to the arguments a already taken.
template <typename... A>
char* expand(const char* fmt, const std::vector<Arg>& args, std::size_t i, A... a) {
  if constexpr (sizeof...(A) < kMaxArgs) {
    if (i < args.size()) {
      const Arg& x = args[i];
      if (x.conv == 'f') return expand(fmt, args, i + 1, a..., x.d);
      if (x.conv == 's') return expand(fmt, args, i + 1, a..., x.s.c_str());
      return expand(fmt, args, i + 1, a..., x.i);
    }
  }
  return call_err_edit(fmt, a...);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = in.find('\0');
  std::string fmt(in.substr(0, nul));
  Bytes bytes(nul == std::string_view::npos ? std::string_view() : in.substr(nul + 1));
  const std::vector<Arg> args = take_args(&fmt, &bytes);

  const std::string want = reference(fmt, args);
  const char* got = expand(fmt.c_str(), args, 0);
  if (std::memcmp(got, want.c_str(), want.size() + 1) != 0) {
    std::fprintf(stderr, "err_edit differs from the reference (format of %zu bytes)\n", fmt.size());
    std::abort();
  }
  return 0;
}
