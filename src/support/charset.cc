#include "support/charset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

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

// The names of each encoding, in the order of Charset. iconv's CP949 and
// CP950 are the Windows supersets of EUC-KR and Big5, as the Windows build
// reads them; 65001 is the code page CP_UTF8. (The members are read in
// constant expressions and through the array, which cppcheck does not follow.)
struct Names {
  // cppcheck-suppress unusedStructMember
  Charset charset;
  // cppcheck-suppress unusedStructMember
  CharsetNames names;
};
constexpr std::array kNames{
    Names{Charset::kShiftJis, {"CP932", 932}},
    Names{Charset::kUtf8, {"UTF-8", 65001}},
    Names{Charset::kWindows1250, {"CP1250", 1250}},
    Names{Charset::kWindows1251, {"CP1251", 1251}},
    Names{Charset::kWindows1252, {"CP1252", 1252}},
    Names{Charset::kWindows1253, {"CP1253", 1253}},
    Names{Charset::kWindows1254, {"CP1254", 1254}},
    Names{Charset::kWindows1255, {"CP1255", 1255}},
    Names{Charset::kWindows1256, {"CP1256", 1256}},
    Names{Charset::kWindows1257, {"CP1257", 1257}},
    Names{Charset::kWindows1258, {"CP1258", 1258}},
    Names{Charset::kIso8859_2, {"ISO-8859-2", 28592}},
    Names{Charset::kIso8859_5, {"ISO-8859-5", 28595}},
    Names{Charset::kIso8859_7, {"ISO-8859-7", 28597}},
    Names{Charset::kIso8859_15, {"ISO-8859-15", 28605}},
    Names{Charset::kKoi8R, {"KOI8-R", 20866}},
    Names{Charset::kKoi8U, {"KOI8-U", 21866}},
    Names{Charset::kGbk, {"CP936", 936}},
    Names{Charset::kGb18030, {"GB18030", 54936}},
    Names{Charset::kBig5, {"CP950", 950}},
    Names{Charset::kEucKr, {"CP949", 949}},
    Names{Charset::kEucJp, {"EUC-JP", 20932}},
};

// True when row i of kNames is the encoding i, for every encoding.
constexpr bool names_in_order() {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i].charset != static_cast<Charset>(i)) return false;
  }
  return kNames.size() == kCharsets;
}
static_assert(names_in_order(), "kNames holds every Charset, in order");

}  // namespace

const CharsetNames& charset_names(Charset c) { return kNames[static_cast<std::size_t>(c)].names; }

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
    // A read error ends the check as the end of the file does; the reader
    // meets it too, and reports it.
    const std::ptrdiff_t read = text_read_fd(fd, buf.get() + held, kTextInBuffer);
    const std::size_t raw = read > 0 ? static_cast<std::size_t>(read) : 0;
    const std::size_t got = text_end(buf.get() + held, raw);
    more = raw != 0 && got == raw;  // a Ctrl-Z ends the text as the end of the file does
    std::size_t used = 0;
    valid = utf8_prefix(buf.get(), held + got, &used);
    held = held + got - used;
    std::memmove(buf.get(), buf.get() + used, held);
  }
  return text_seek_fd(fd, back) && valid && held == 0;
}

bool meta_charset(const char* p, const char* end, Charset* out) {
  for (const char* c = p; c < end; ++c) {
    if (!starts_nocase(c, "charset")) continue;
    const char* v = sp_skip(c + 7);
    if (*v != '=') continue;  // a word "charset", no label after it
    v = sp_skip(v + 1);
    if (*v == '"' || *v == '\'') ++v;
    const std::size_t n = std::strcspn(v, "\"'; \t/>");
    return charset_of_label(std::string_view(v, n), out);
  }
  return false;
}

void cp932_to_utf8(const char* s, std::string* out) {
  constexpr const char* kReplacement = "\xEF\xBF\xBD";
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p != '\0') {
    if (*p < 0x80) {
      out->push_back(static_cast<char>(*p++));
      continue;
    }
    const std::size_t n = sjis_lead(p[0]) && p[1] >= 0x40 ? 2 : 1;
    if (!cp932_char(p, n, out)) {
      out->append(kReplacement);
      if (n == 2 && p[1] >= 0x80) {
        out->append(kReplacement);
      } else if (n == 2) {
        out->push_back(p[1] == '\\' || p[1] == '|' ? '!' : static_cast<char>(p[1]));
      }
    }
    p += n;
  }
}

char* CharsetGuess::after_bom(char* line) {
  if (std::strncmp(line, "\xEF\xBB\xBF", 3) != 0) return line;
  declare(Charset::kUtf8);
  return line + 3;
}

void CharsetGuess::declare(Charset c) {
  charset_ = c;
  declared_ = true;
}

Charset CharsetGuess::need() {
  if (!declared_ && !checked_) {
    checked_ = true;
    charset_ = file_is_utf8(in_) ? Charset::kUtf8 : Charset::kShiftJis;
  }
  return charset_;
}
