// -x: the folders a bookmark file's links go into, one for each list that a
// folder heading opens, made below the output folder.
#ifndef FAVLINK_SHORTCUT_TREE_FOLDERS_H_
#define FAVLINK_SHORTCUT_TREE_FOLDERS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "shortcut/tree_url.h"
#include "support/folder.h"

/// The current folder and the stack of lists that lead to it. Every folder is
/// made or entered through the one before it, never by path, and held open
/// while its list lasts: one per open list that has a folder (the depth, not
/// the size of the tree).
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

  /// True when the current folder could not be had.
  bool dead() const { return dead_; }

  /// The current folder as reports show it ("" the current directory).
  const std::string& path() const { return path_; }

  /// The current folder, held open.
  const Folder& current() const { return held_.back(); }

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
  std::vector<Folder> held_;  // the output folder and each one below it, the current last
  std::vector<Frame> frames_;
  bool pending_ = false;        // a heading waits for its list
  bool pending_named_ = false;  // ... and gives a folder of its own
  std::string pending_name_;
};

#endif  // FAVLINK_SHORTCUT_TREE_FOLDERS_H_
