#include "support/charset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "support/port.h"
#include "support/sjis.h"
#include "support/textio.h"
#include "support/utf8.h"

namespace {

// (charset is read through an iterator, which cppcheck does not follow.)
struct Label {
  const char* name;  // lower case
  // cppcheck-suppress unusedStructMember
  Charset charset;
};

// Every label a META tag may name an encoding by; any other is no declaration.
constexpr std::array kLabels{
    Label{"utf-8", Charset::kUtf8},
    Label{"utf8", Charset::kUtf8},
    Label{"unicode-1-1-utf-8", Charset::kUtf8},
    Label{"shift_jis", Charset::kShiftJis},
    Label{"shift-jis", Charset::kShiftJis},
    Label{"sjis", Charset::kShiftJis},
    Label{"x-sjis", Charset::kShiftJis},
    Label{"ms_kanji", Charset::kShiftJis},
    Label{"csshiftjis", Charset::kShiftJis},
    Label{"windows-31j", Charset::kShiftJis},
    Label{"ms932", Charset::kShiftJis},
    Label{"cp932", Charset::kShiftJis},
    Label{"windows-1250", Charset::kWindows1250},
    Label{"windows-1251", Charset::kWindows1251},
    Label{"windows-1252", Charset::kWindows1252},
    Label{"iso-8859-1", Charset::kWindows1252},
    Label{"latin1", Charset::kWindows1252},
    Label{"l1", Charset::kWindows1252},
    Label{"us-ascii", Charset::kWindows1252},
    Label{"ascii", Charset::kWindows1252},
    Label{"windows-1253", Charset::kWindows1253},
    Label{"windows-1254", Charset::kWindows1254},
    Label{"windows-1255", Charset::kWindows1255},
    Label{"windows-1256", Charset::kWindows1256},
    Label{"windows-1257", Charset::kWindows1257},
    Label{"windows-1258", Charset::kWindows1258},
    Label{"iso-8859-2", Charset::kIso8859_2},
    Label{"iso-8859-5", Charset::kIso8859_5},
    Label{"iso-8859-7", Charset::kIso8859_7},
    Label{"iso-8859-15", Charset::kIso8859_15},
    Label{"koi8-r", Charset::kKoi8R},
    Label{"koi8-u", Charset::kKoi8U},
    Label{"gbk", Charset::kGbk},
    Label{"gb2312", Charset::kGbk},
    Label{"x-gbk", Charset::kGbk},
    Label{"gb18030", Charset::kGb18030},
    Label{"big5", Charset::kBig5},
    Label{"big5-hkscs", Charset::kBig5},
    Label{"euc-kr", Charset::kEucKr},
    Label{"ks_c_5601-1987", Charset::kEucKr},
    Label{"euc-jp", Charset::kEucJp},
};

}  // namespace

bool charset_of_label(std::string_view label, Charset* out) {
  const auto* l = std::find_if(kLabels.begin(), kLabels.end(),
                               [&](const Label& k) { return equal_nocase(label, k.name); });
  if (l == kLabels.end()) return false;
  *out = l->charset;
  return true;
}

bool file_is_utf8(const TextIn& in) {
  const int fd = in.fd;
  const long long back = text_tell_fd(fd);
  if (back < 0 || !text_seek_fd(fd, 0)) return false;
  // A sequence cut by the end of one read is moved to the front of the
  // buffer and completed by the next.
  constexpr std::size_t kHeld = 3;
  const auto buf = std::make_unique<unsigned char[]>(kTextInBuffer + kHeld);
  std::size_t held = 0;
  bool valid = true;
  for (bool more = true; valid && more;) {
    std::size_t got = text_read_fd(fd, buf.get() + held, kTextInBuffer);
    more = got != 0;
    if constexpr (kCtrlZEndsText) {
      const void* z = std::memchr(buf.get() + held, 0x1A, got);
      if (z != nullptr) {
        got = static_cast<std::size_t>(static_cast<const unsigned char*>(z) - buf.get()) - held;
        more = false;
      }
    }
    std::size_t used = 0;
    valid = utf8_prefix(buf.get(), held + got, &used);
    held = held + got - used;
    std::memmove(buf.get(), buf.get() + used, held);
  }
  return text_seek_fd(fd, back) && valid && held == 0;
}
