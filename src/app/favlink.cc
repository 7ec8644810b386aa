#include "app/favlink.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "app/usage.h"
#include "diag/errmsg.h"
#include "linkpage/options.h"
#include "linkpage/put_link.h"
#include "linkpage/put_tree.h"
#include "shortcut/options.h"
#include "shortcut/scan_html.h"
#include "shortcut/scan_tree.h"
#include "support/charset.h"
#include "support/port.h"
#include "support/sjis.h"

namespace {

// Characters a name prefix may not hold: they would leave the output folder
// or are not allowed in Windows file names.
constexpr const char* kIllegalName = ":<>*?|\".\\/";

// -a: the address up to its last '/', with a '/' appended, after the user
// confirms it. Any answer but one starting with 'Y' or 'y' ends the run.
void take_url_prefix(ShortcutOptions* o, const char* value) {
  const std::size_t n = std::strlen(value);
  if (n > static_cast<std::size_t>(kPrefixArea - 2)) {
    errmsg("-a: the address is longer than 2046 bytes\n");
    std::exit(1);
  }
  char* buf = o->url_prefix.data();
  std::memcpy(buf, value, n + 1);
  // "a/b/c.html" -> "a/b/";  "abc" -> "abc/";  "" -> "/"
  if (char* slash = Strrchr(buf, '/')) *slash = '\0';
  std::strcat(buf, "/");
  errmsg("URL prefix name=\"%s\" ... ok? (y/n) ", buf);
  std::array<char, kAnswerArea> answer{};
  if (std::fgets(answer.data(), kAnswerArea, stdin) == nullptr ||
      (answer[0] != 'Y' && answer[0] != 'y')) {
    errmsg("quit!\n");
    std::exit(1);
  }
}

// -i: "file;n" gives the icon file and index; without ';' the index stays.
void take_icon(ShortcutOptions* o, char* value) {
  if (char* semi = Strrchr(value, ';')) {
    o->icon_index = to_int(semi + 1);
    *semi = '\0';
  }
  o->icon = value;
}

void take_name_prefix(ShortcutOptions* o, const char* value) {
  // Under -x names are UTF-8, where no byte of a character is ASCII: every
  // byte of the set counts, wherever it stands.
  if (illegal_name(value) || (o->tree && std::strpbrk(value, kIllegalName) != nullptr)) {
    errmsg("\"%s\" ... illegal name as filename\n", value);
    std::exit(1);
  }
  o->name_prefix = value;
}

// -c (with -x): the encoding the bookmark file is read in, named by any
// label a META tag may name it by. An unknown one ends the run before
// anything is read or written.
void take_charset(ShortcutOptions* o, const char* label) {
  Charset c = Charset::kUtf8;
  if (!charset_of_label(label, &c)) {
    errmsg("%s: unknown encoding\n", label);
    std::exit(1);
  }
  o->charset = c;
}

// A text on standard output (the page, the usage) that could not be written
// whole (a full disk, a closed pipe) must not end as a success.
int stdout_status() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    errmsg("standard output: writing error\n");
    return 1;
  }
  return 0;
}

// The command line: argv as the options are read (in Unicode where -x takes
// it so), and ansi as typed, where the values written into .url files (-a,
// -i) come from.
struct CommandLine {
  int argc;
  char** argv;
  char** ansi;
};

// The options before the first file argument, those of either mode; gives
// that argument's index. A dry scan only finds the options: it asks and
// refuses nothing.
int scan_options(const CommandLine& c, ShortcutOptions* o, LinkPageOptions* page,
                 bool* shortcut_mode, bool dry) {
  const int argc = c.argc;
  char** argv = c.argv;
  char** ansi = c.ansi;
  *shortcut_mode = false;
  int i = 1;
  for (; i < argc; ++i) {
    const char* a = argv[i];
    const bool has_value = i + 1 < argc;
    const bool option = *shortcut_mode && has_value;
    if (std::strcmp(a, "-t") == 0 && has_value) {
      page->title = argv[++i];
    } else if (std::strncmp(a, "-f", 2) == 0) {
      page->format = to_int(a + 2);
    } else if (std::strcmp(a, "-v") == 0) {
      *shortcut_mode = true;
    } else if (std::strcmp(a, "-x") == 0) {
      o->tree = true;
    } else if (option && std::strcmp(a, "-a") == 0) {
      if (!dry) take_url_prefix(o, ansi[i + 1]);
      ++i;
    } else if (option && std::strcmp(a, "-i") == 0) {
      if (!dry) take_icon(o, ansi[i + 1]);
      ++i;
    } else if (option && std::strcmp(a, "-n") == 0) {
      if (!dry) take_name_prefix(o, argv[i + 1]);
      ++i;
    } else if (option && (o->tree || dry) && std::strcmp(a, "-c") == 0) {
      // The dry scan passes over its value even before an -x it may yet
      // meet; without -x the other scan takes "-c" for the first file.
      if (!dry) take_charset(o, argv[i + 1]);
      ++i;
    } else if (option && std::strcmp(a, "-s") == 0) {
      o->select = argv[++i];
    } else if (option && std::strcmp(a, "-o") == 0) {
      o->outdir = argv[++i];
    } else {
      break;  // the first file argument
    }
  }
  return i;
}

}  // namespace

bool illegal_name(const char* value) {
  if (index2(value, kIllegalName) != nullptr) return true;
  for (const char* p = value; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) < 0x40 && std::strchr(kIllegalName, *p) != nullptr)
      return true;
  }
  return false;
}

int to_int(const char* s) {
  errno = 0;
  const long long v = std::strtoll(s, nullptr, 10);
  if (v > 2147483647LL) return 2147483647;
  if (v < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(v);
}

int favlink_main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "-usage") == 0) {
    for (int i = 0; usage[i] != nullptr; ++i) std::printf("%s\n", usage[i]);
    return stdout_status();
  }
  if (argc <= 1) {
    for (int i = kShortUsageFirst; i <= kShortUsageLast; ++i) errmsg("%s\n", usage[i]);
    return 1;
  }

  // -x on Windows takes the arguments in Unicode: a first pass, with no
  // question asked and nothing refused, finds out whether it is given.
  ShortcutOptions probe;
  LinkPageOptions page_probe;
  bool shortcut_mode = false;
  scan_options(CommandLine{argc, argv, argv}, &probe, &page_probe, &shortcut_mode, true);
  std::vector<char*> ansi(argv, argv + argc);
  if (probe.tree) {
    use_utf8_arguments(argc, argv);
  }
  ShortcutOptions o;
  o.tree = probe.tree;  // known before an -n that comes ahead of -x
  LinkPageOptions page;
  const int i =
      scan_options(CommandLine{argc, argv, ansi.data()}, &o, &page, &shortcut_mode, false);

  if (shortcut_mode) {
    // Only a scan of a file it could not read whole fails the run.
    const int scanned = i < argc ? (o.tree ? scan_tree : scan_html)(argv[i], o) : 0;
    return scanned == kScanNotWhole ? 1 : 0;
  }
  // The page goes out in large blocks, whatever standard output is.
  static char page_buffer[64 * 1024];
  std::setvbuf(stdout, page_buffer, _IOFBF, sizeof page_buffer);
  const std::span<char*> files(argv + i, static_cast<std::size_t>(argc - i));
  bool whole = true;
  if (o.tree) {
    whole = put_tree_page(page, files);
  } else {
    put_link_page(page, files);
  }
  const int status = stdout_status();
  return whole ? status : 1;
}
