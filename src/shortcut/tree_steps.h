// -x: the one writer behind every bookmark file reader. A reader (the HTML
// scan, the JSON reader) hands it, in file order, the folder headings, the
// lists they open and close and the links inside them; it keeps the -s
// selection, makes the folders, writes each link's .url file and counts.
#ifndef FAVLINK_SHORTCUT_TREE_STEPS_H_
#define FAVLINK_SHORTCUT_TREE_STEPS_H_

#include <string>

#include "shortcut/options.h"
#include "shortcut/scan_steps.h"
#include "shortcut/tree_folders.h"
#include "shortcut/tree_url.h"
#include "shortcut/url_steps.h"

/// One run's writer. Lists nest by level: the file's outermost list is level
/// 1, and a heading met at level 1 names a top-level folder (the only ones -s
/// can select).
class TreeSteps {
 public:
  explicit TreeSteps(const ShortcutOptions& o);

  /// True once the -s folder is reached (always without -s).
  bool selecting() const { return select_mode_ != SelectMode::kWaiting; }

  /// The level of the innermost open list (0: none).
  long long level() const { return level_; }

  /// A folder heading with its caption (changed in place): with the -s
  /// folder reached, the next list makes or enters the folder it names;
  /// before it, a top-level heading that is the -s folder selects it, and its
  /// list is the output folder. A caption is compared as it stands, and in a
  /// Shift_JIS file also in the UTF-8 form its folder name takes.
  void heading(char* caption);

  /// A list opens. False when the disk is full and the run stops.
  bool open_list();

  /// A list closes. True when it ends the -s folder, and with it the run.
  bool close_list();

  /// Whether a link met now is to be written: false before the -s folder,
  /// and false, counting it passed over, when its folder could not be had.
  bool takes_link();

  /// Writes a link that takes_link() took into the current folder and counts
  /// it. False when the run stops (its file could not be written).
  bool put_link(const Link& link);

  /// A link met and not written (after the -s folder is reached).
  void pass();

  /// The summary line every run over a file that opened ends with.
  void summary() const;

  TreeRun run;  // run.utf8: the file's names are UTF-8, else Shift_JIS

 private:
  TreeFolders folders_;
  SelectMode select_mode_;
  long long level_ = 0;
  // What became of the links met (inside the -s folder).
  long long written_ = 0;
  long long there_ = 0;
  long long passed_ = 0;
};

/// The blanks of a text from a bookmark file as a browser shows them: each
/// control character (C0, DEL, C1) a blank, each run of blanks one blank,
/// none at either end. in is UTF-8.
///   " a\t\r\n b\xC2\x85c " -> "a b c"
void collapse_blanks(const std::string& in, std::string* out);

/// Drops tabs and line breaks from an address, as browsers do; in a .url file
/// a line break would start a line of its own (another IconFile=, say).
///   "http://a/\r\n\tb" -> "http://a/b"
void drop_line_breaks(std::string* address);

/// An icon address as a .url file keeps it: line breaks dropped, and empty
/// unless it is an http: or https: address (any case).
///   "HTTPS://x/i.png" stays;  "data:image/png;base64,..." -> ""
void web_icon(std::string* icon);

#endif  // FAVLINK_SHORTCUT_TREE_STEPS_H_
