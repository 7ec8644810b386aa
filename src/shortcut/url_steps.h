// The steps of writing one Internet Shortcut (.url) file. make_url (the
// default) and make_tree_url (-x) are each a short list of these; where the
// two differ, the step takes the difference as a parameter.
#ifndef FAVLINK_SHORTCUT_URL_STEPS_H_
#define FAVLINK_SHORTCUT_URL_STEPS_H_

#include <array>
#include <cstddef>
#include <string>

#include "shortcut/options.h"

class Folder;

/// Size of each text area of a .url file's steps (text and NUL).
inline constexpr int kUrlArea = 2048;
using UrlArea = std::array<char, kUrlArea>;

/// Longest absolute URL: the first text written, "[InternetShortcut]\nURL=%s\n",
/// is 24 bytes longer and must fit its area.
inline constexpr std::size_t kMaxUrl = kUrlArea - 1 - 24;

/// Longest prefix-plus-caption a file name is made from.
inline constexpr int kMaxNameSource = 254;

/// What -x keeps beside a link in its .url file, each in UTF-8 with no
/// control character (null or empty: none): the icon address of its
/// ICON_URI (written unless -i names one), its description and its tags.
struct UrlExtras {
  const char* icon = nullptr;
  const char* description = nullptr;
  const char* tags = nullptr;
};

/// One link as a scanner hands it over: its caption, which the name steps
/// change in place, its URL as the href gives it, and (-x) the time it was
/// added, in seconds since 1970 (0: none given), and its extras.
struct Link {
  char* caption;
  const char* url;
  long long added = 0;
  UrlExtras extras{};
};

/// What became of one link: its file written, its file there before (left
/// as it is), passed over (reported where the reason is worth a word), or
/// the file could not be created, written or closed: the scan stops.
enum class UrlResult { kWritten, kThere, kPassed, kStop };

/// The texts of one .url file, each made by one step.
struct UrlFile {
  std::string url;     // join_url: the absolute URL
  UrlArea name;        // the caller: the file name, as reports show it
  UrlArea path;        // join_path: where the file is created
  long long time = 0;  // the caller (-x): the file's time, seconds since 1970; 0 keeps it
};

/// How a link's name is read. The default reads Shift_JIS throughout. With
/// tree (-x) the line feed is found byte by byte (a decoded reference may
/// put one behind a lead byte), control bytes become blanks, the cleaning
/// steps over Shift_JIS characters only when utf8 is false, and the blanks
/// the cleaning leaves in front are dropped.
struct NameRules {
  bool tree = false;
  bool utf8 = false;  // the names are UTF-8 (-x on a UTF-8 file)
};

/// How long an address may be: at most kMaxUrl bytes (the default), or of
/// any length (-x).
enum class UrlLength { kLimited, kAny };

/// The address step: the absolute URL of link into f->url, the link's URL
/// when absolute, else joined to url_prefix. False when the link is passed
/// over: relative with an empty prefix (no report), or, when the length is
/// kLimited, longer than kMaxUrl ("too long URL for the link of \"%s\"\n"
/// naming the caption).
///   "a.html" with prefix "dir/" -> "dir/a.html";  "a.html" with "" -> false
bool join_url(const Link& link, bool absolute, const char* url_prefix, UrlFile* f,
              UrlLength length = UrlLength::kLimited);

/// Ends caption at its first line feed, found as rules say.
///   "a\nb" -> "a";  "\x81\nb": "\x81\nb" stays (the LF is a second byte),
///   but with tree -> "\x81"
void cut_line_feed(char* caption, NameRules rules);

/// Cleans name (clean_name) in place as rules say and gives where it starts.
///   "a/b" -> "a!b";  tree: "..x\t" -> "x " (the two blanks in front dropped)
char* clean_link_name(char* name, NameRules rules);

/// The name step, the name of a link: the caption cut at its first line feed;
/// name_prefix plus the caption (leading blanks counted) at most
/// kMaxNameSource bytes, else "too long name ... %s\n" naming the caption
/// (with tree no limit: make_tree_url cuts the file name to fit);
/// leading blanks and tabs dropped; cleaned; not only blanks, else
/// "[%s]: invalid name for the link of \"%s\"\n" naming the name before the
/// cleaning and the URL. Gives the name inside the caption, or null when the
/// link is passed over.
///   caption " a/b\nc" -> "a!b";  caption "?*" -> null, "[?*]: invalid name ..."
char* link_name(const Link& link, const char* name_prefix, NameRules rules);

/// Which device names a name is checked against: "con", "prn", "aux", "nul"
/// and "clock" as whole names (the default), or (-x) as Windows keeps them:
/// "com1".."com9" and "lpt1".."lpt9" too, and each of them followed by
/// blanks or an extension.
enum class DeviceNames { kWhole, kWindows };

/// True when name is a device name that Windows keeps, of the set names
/// says, ignoring ASCII case.
///   "Nul" -> true;  "con " "com1" "con.txt" -> false
///   kWindows: "con.txt" "COM1" "lpt9.x" "con .url" -> true;  "com0" "console" "c on" -> false
bool is_reserved(const char* name, DeviceNames names = DeviceNames::kWhole);

/// Makes name safe as a file name, in place: ':' -> ';', '/' '\\' '|' -> '!',
/// '<' -> '(', '>' -> ')', '*' '?' -> ' ', '"' -> '\'', and ".." -> two
/// blanks (the walk goes on at the second, so "..." -> "  ."). A lead byte
/// (0x80..0x9F, 0xE0..0xFC) followed by a byte from 0x40 up starts a
/// double-byte character, passed over whole; a lead byte before any lower
/// byte is a single byte, so the byte after it is cleaned as usual.
/// With utf8 every byte is looked at alone: no byte of a UTF-8 sequence is
/// ASCII, so each well-formed character passes whole all the same.
///   "a/b:c" -> "a!b;c";  "\x83\x5C" (ソ) stays;  "\xE3/x" -> "\xE3!x"
///   utf8: "\xC3\x9F\\" (ß\) -> "\xC3\x9F!"
void clean_name(char* name, bool utf8 = false);

/// The length step: true when f->name is short enough to be created where names are
/// limited (kNameMax bytes on POSIX); else reports "too long name ... %s\n".
bool name_fits(const UrlFile& f);

/// The path step: f->path is folder (empty: the current folder) and f->name joined
/// with the platform separator. False after "too long path ... %s\n" naming
/// the file when the path would not fit its area.
///   "out", "a.url" -> "out/a.url";  "out/", "a.url" -> "out//a.url";  "" -> "a.url"
bool join_path(const char* folder, UrlFile* f);

/// Where write_url_file creates the file: by its path f.path (the default),
/// or (-x) as f.name in a folder the run holds, the reports then naming it by
/// shown, a path of any length.
struct UrlPlace {
  const Folder* folder = nullptr;
  const char* shown = nullptr;
};

/// The file step: creates the file new, as at says, and writes
///   "[InternetShortcut]" CR LF "URL=" url CR LF
///   and, with an icon, "IconIndex=" n CR LF "IconFile=" icon CR LF
/// (n the icon index, 0 when below 1; without -i, extras.icon with n 1), then
/// the description as property 21 of the set {5CBF2787-...} and the tags as
/// property 5 of the set {F29F85E0-...}, each where there is one:
///   "[{set}]" CR LF "PropN=31," ascii CR LF
///   and, when the text has a character outside 0x20..0x7E,
///   "[{set}.W]" CR LF "PropN=31," utf7 CR LF
/// (ascii the text with each such character, or byte that begins no UTF-8
/// sequence, as '?'; utf7 its utf8_to_utf7 form). kThere when a file exists there (it is
/// left as it is); kPassed after "too long icon file ... %s\n" naming
/// f.name (by path only: in a held folder the icon has no limit); kStop
/// after reporting a failure to create, write or close, but kPassed after
/// reporting a create that failed in a held folder for any cause but a full
/// disk. With f.time, the
/// file's times are set to it on the open file once its bytes are out. A file
/// this call created and could not write or close completely is removed
/// before the report, so that a later run writes the link. In a held folder
/// (-x), a disk or quota without room for the file is reported first as "no
/// free disk space\n".
///   url "dir/a.html" -> "[InternetShortcut]\r\nURL=dir/a.html\r\n" (36 bytes)
UrlResult write_url_file(const UrlFile& f, const ShortcutOptions& o, UrlPlace at = {},
                         const UrlExtras& extras = {});

#endif  // FAVLINK_SHORTCUT_URL_STEPS_H_
