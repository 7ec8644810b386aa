// A path of held folders as deep as the tree, on a fixed number of
// descriptors: the first folder and the deepest ones stay open, the others
// are let go and reached again by their names when they are needed.
#ifndef FAVLINK_SUPPORT_FOLDER_CHAIN_H_
#define FAVLINK_SUPPORT_FOLDER_CHAIN_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/folder.h"

/// A stack of folders, each below the one before it. At most
/// held_folder_limit() of them are open at once: the first always, and the
/// deepest ones. A folder let go is opened again from the nearest open one
/// above it, one name at a time, each through its parent without following
/// a link (never through ".."), and must be the very folder it was (the same
/// volume and index). One that is not, or is gone, or is a link now, is
/// lost, and so is every folder below it: nothing is ever read from or made
/// in what took its place.
class FolderChain {
 public:
  /// Adds f, opened just now, at the bottom. route names it from the folder
  /// above: one name, or names joined by '/' through folders the chain does
  /// not hold ("a/b/c"); empty for the first folder. The shallowest open
  /// folder but the first is let go when more than the limit are open.
  void push(Folder&& f, std::string route);

  /// Drops the bottom folder.
  void pop();

  std::size_t size() const { return links_.size(); }

  /// What reach found: the folder, open (or the first one, which stays as it
  /// was pushed, open or not); a folder lost just now, at *moved, which the
  /// caller reports; or a folder lost before, reported already.
  enum class Reach { kHeld, kMoved, kLost };

  /// The folder at i, opened again when it was let go. kMoved: the folder at
  /// *moved (at or above i) is no longer where the run left it, and it and
  /// every folder below it are lost; kLost: i was lost before.
  Reach reach(std::size_t i, std::size_t* moved);

  /// The folder at i after reach gave kHeld.
  const Folder& at(std::size_t i) const { return links_[i].folder; }

 private:
  struct Held {
    Folder folder;         // open, or let go (closed) when released
    std::string route;     // from the folder above: "a" or "a/b/c"
    std::uint64_t volume;  // which folder it was when first opened
    std::uint64_t index;
    bool released;  // let go to save a descriptor; reached again by route
    bool lost;      // no longer where the run left it
  };

  bool regain(std::size_t i, std::size_t* moved);
  void release_extra();

  std::vector<Held> links_;
  std::size_t open_ = 0;     // links open, the first one included
  std::size_t shallow_ = 1;  // no link in [1, shallow_) is open
};

#endif  // FAVLINK_SUPPORT_FOLDER_CHAIN_H_
