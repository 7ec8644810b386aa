// The options of shortcut mode: filled once by the option scan, then read
// (never changed) by the scanners and every writer step below them.
#ifndef FAVLINK_SHORTCUT_OPTIONS_H_
#define FAVLINK_SHORTCUT_OPTIONS_H_

#include <array>
#include <optional>

#include "support/charset.h"

/// Size of the URL prefix area (text and NUL): an -a value of up to
/// kPrefixArea - 2 bytes fits with the '/' that is appended.
inline constexpr int kPrefixArea = 2048;

struct ShortcutOptions {
  std::array<char, kPrefixArea> url_prefix{};  // -a: empty, or ending in '/'
  const char* select = "";         // -s: caption of the folder whose links are taken; empty: all
  const char* outdir = "";         // -o: empty: the current folder
  const char* icon = nullptr;      // -i: the icon file; null: no icon lines
  int icon_index = -1;             // -i "file;n": n
  const char* name_prefix = "";    // -n: put in front of every file name
  bool tree = false;               // -x: bookmark files read into a tree of folders
  std::optional<Charset> charset;  // -c (with -x): the bookmark file's encoding, as named
};

#endif  // FAVLINK_SHORTCUT_OPTIONS_H_
