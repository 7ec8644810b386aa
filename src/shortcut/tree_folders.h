// -x: the folders a bookmark file's links go into, one for each list that a
// folder heading opens, made below the output folder.
#ifndef FAVLINK_SHORTCUT_TREE_FOLDERS_H_
#define FAVLINK_SHORTCUT_TREE_FOLDERS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "shortcut/tree_url.h"
#include "support/folder.h"
#include "support/folder_chain.h"

/// The current folder and the stack of lists that lead to it. Every folder is
/// made or entered through the one before it, never by path; the folders of
/// the open lists are held in a FolderChain, so a tree of any depth needs a
/// fixed number of descriptors, and a folder let go is entered again by its
/// name from the one above it, never through "..". One that is no longer
/// where the run left it is reported "\"%s\": not a folder\n" when its list
/// next needs it, and the entries of its list and those below are passed
/// over.
class TreeFolders {
 public:
  /// Holds outdir (empty: the current directory), opened by its path. When it
  /// cannot be, nothing below it can be made either, and each file reports so.
  explicit TreeFolders(const char* outdir);

  /// A folder heading waits for its list, which makes or enters the folder
  /// its caption names (folder_name; none: the list stays in the current
  /// folder). The caption is changed in place.
  void await_heading(const TreeRun& run, char* caption);

  /// The selected folder's heading waits for its list, which is the output
  /// folder itself.
  void await_selected();

  /// A list opens at level (of nested lists): a waiting heading's folder
  /// becomes the current one, made when it is not there ("\"%s\": not a
  /// folder\n" or "\"%s\": cannot create folder\n" naming its path, and its
  /// entries are passed over), under the name folder_entry gives it in run
  /// (numbered past a link's file name), which it then takes. False when the
  /// disk is full: the scan stops, as it does when a file cannot be written.
  bool open_list(TreeRun* run, long long level);

  /// The list at level closes: the folder before its own is current again.
  void close_list(long long level);

  /// True when the current folder can be written into: held, or entered
  /// again. False when it could not be had (reported once).
  bool ready();

  /// The current folder as reports show it ("" the current directory).
  const std::string& path() const { return path_; }

  /// The current folder, after ready() said true.
  const Folder& current() const { return held_.at(held_.size() - 1); }

 private:
  // A list opened by a folder heading; closing it returns to the folder that
  // was current before.
  // (The members are read through frames_.back(), which cppcheck does not follow.)
  struct Frame {
    // cppcheck-suppress unusedStructMember
    long long level;  // the list's level
    // cppcheck-suppress unusedStructMember
    std::size_t folder_size;  // length of the enclosing folder's path
    // cppcheck-suppress unusedStructMember
    bool dead;  // the enclosing folder's entries are passed over
    // cppcheck-suppress unusedStructMember
    bool held;  // the list holds a folder of its own, on top of held_
  };

  std::string path_;
  bool dead_ = false;
  FolderChain held_;  // the output folder and each one below it, the current last
  std::vector<std::size_t> held_paths_;  // the length of path_ at each of them
  std::vector<Frame> frames_;
  bool pending_ = false;        // a heading waits for its list
  bool pending_named_ = false;  // ... and gives a folder of its own
  std::string pending_name_;
};

#endif  // FAVLINK_SHORTCUT_TREE_FOLDERS_H_
