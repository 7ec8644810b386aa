// -x: the .url files of a bookmark file's links, in the tree of its folders.
#ifndef FAVLINK_SHORTCUT_TREE_URL_H_
#define FAVLINK_SHORTCUT_TREE_URL_H_

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

#include "shortcut/options.h"
#include "shortcut/url_steps.h"
#include "support/folder.h"

/// One -x run: its options, how the file's names read, and what it has
/// written so far.
struct TreeRun {
  explicit TreeRun(const ShortcutOptions& o) : options(o) {}

  const ShortcutOptions& options;
  bool utf8 = false;  // the bookmark file is UTF-8, else Shift_JIS
  // A short key for every folder this run has written into, by the folder's
  // identity (so a folder met again under another path, or renamed
  // meanwhile, keeps its key): its number in decimal and a NUL.
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> folder_keys;
  // Every name this run has taken in a folder, by a link (its file written
  // or found there) or by a folder (made or entered): folder key, name (ASCII
  // case folded where the file system ignores it), and what took it. A link
  // never gets a taken name; a folder heading enters the folder of its name
  // again, and is numbered only past a link's. Memory grows with the names,
  // not with the depth of their folders.
  enum class Taker : unsigned char { kLink, kFolder };
  std::unordered_map<std::string, Taker> taken;
  // The next number to try for a name in a folder, so that the n-th link of
  // one name costs one try, not n.
  std::unordered_map<std::string, int> next_number;
};

/// Writes the .url file of one link into folder, a folder the run holds
/// (shown in reports as path; empty: the current folder), named as make_url
/// names it, and then: control bytes as blanks, leading blanks left by the
/// cleaning dropped, the name in Unicode (UTF-8), a device name with an
/// extension or COM1-9/LPT1-9 given its underscore too, and " (2)", " (3)"
/// ... before ".url" when this run has taken the name in that folder already
/// (by a link, or by a folder it made there). A file name longer than 255
/// bytes of UTF-8 (kNameMax, on every platform, with the prefix, any number
/// and ".url") is cut at the end of its last whole character that fits,
/// blanks and dots at the cut end dropped (a caption part left with nothing
/// becomes "_"), before it is numbered; the whole file name is checked for a
/// device name once more, after the cut (the prefix co and the name n give
/// co_n.url). Any URI scheme makes a URL absolute; neither the path, the
/// address nor the icon has a length limit. The file takes the link's added
/// time (none: the time it is written). An existing file is never changed
/// (kThere); its extras are written as write_url_file says. Problems are reported as make_url
/// reports them, a full disk as such; a file that cannot be created is reported and passed over
/// (kPassed), and kStop comes only when the disk is full or a file could not
/// be written or closed.
///   caption "..con", url "https://x/" -> "_con.url";  "A" twice -> "A.url", "A (2).url"
UrlResult make_tree_url(TreeRun* run, const Link& link, const std::string& path,
                        const Folder& folder);

/// Appends to *out the folder name of a heading caption (changed in place):
/// cleaned as a link name is, without the name prefix, leading blanks and
/// trailing dots and blanks dropped, in Unicode, cut to fit and checked for
/// a device name as a file name is (without ".url"). False when nothing is
/// left before the cut, and the entries then stay in the enclosing folder.
///   " a/b. " -> "a!b";  "con" -> "_con";  ".." "." " " -> false
bool folder_name(const TreeRun& run, char* caption, std::string* out);

/// The name under which the folder that folder_name named name is made or
/// entered in parent: name, or, when a link of this run has taken that name
/// there, name numbered as a link's file name is (cut again so that the
/// number fits), the first that no link has taken. A folder this run made or
/// entered (take_folder) is entered again.
///   "Docs.url" beside the link file Docs.url -> "Docs.url (2)"
std::string folder_entry(TreeRun* run, const Folder& parent, const std::string& name);

/// Takes name in parent for a folder this run made or entered there, so that
/// no link's file is given it.
void take_folder(TreeRun* run, const Folder& parent, const std::string& name);

#endif  // FAVLINK_SHORTCUT_TREE_URL_H_
