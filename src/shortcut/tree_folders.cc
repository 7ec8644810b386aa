#include "shortcut/tree_folders.h"

#include <utility>

#include "diag/errmsg.h"
#include "support/port.h"

TreeFolders::TreeFolders(const char* outdir) : path_(outdir) {
  // The one folder opened by its path. When it cannot be, nothing below it
  // can be made either, and each file reports so.
  Folder out;
  open_folder(outdir[0] != '\0' ? outdir : ".", FolderUse::kMake, &out);
  held_.push(std::move(out), std::string());
  held_paths_.push_back(path_.size());
}

void TreeFolders::await_heading(const TreeRun& run, char* caption) {
  pending_ = true;
  pending_name_.clear();
  pending_named_ = folder_name(run, caption, &pending_name_);
}

void TreeFolders::await_selected() {
  pending_ = true;
  pending_named_ = false;
}

bool TreeFolders::open_list(TreeRun* run, long long level) {
  if (!pending_) return true;
  pending_ = false;
  frames_.push_back(
      Frame{.level = level, .folder_size = path_.size(), .dead = dead_, .held = false});
  if (dead_ || !pending_named_ || !ready()) return true;
  // Numbered here, not at the heading: a link between the heading and its
  // list may take the name meanwhile.
  const std::string name = folder_entry(run, current(), pending_name_);
  if (!path_.empty()) path_.push_back(kPathSep);
  path_ += name;
  Folder made;
  switch (make_folder(current(), name.c_str(), &made)) {
    case FolderResult::kReady:
      take_folder(run, current(), name);
      held_.push(std::move(made), name);
      held_paths_.push_back(path_.size());
      frames_.back().held = true;
      return true;
    case FolderResult::kNotFolder: errmsg_whole("\"%s\": not a folder\n", path_.c_str()); break;
    case FolderResult::kFailed:
      errmsg_whole("\"%s\": cannot create folder\n", path_.c_str());
      break;
    case FolderResult::kNoSpace:
      errmsg("no free disk space\n");
      errmsg_whole("\"%s\": cannot create folder\n", path_.c_str());
      return false;
  }
  dead_ = true;
  return true;
}

void TreeFolders::close_list(long long level) {
  if (!frames_.empty() && frames_.back().level == level) {
    path_.resize(frames_.back().folder_size);
    dead_ = frames_.back().dead;
    if (frames_.back().held) {
      held_.pop();
      held_paths_.pop_back();
    }
    frames_.pop_back();
  }
  pending_ = false;
}

bool TreeFolders::ready() {
  if (dead_) return false;
  std::size_t moved = 0;
  switch (held_.reach(held_.size() - 1, &moved)) {
    case FolderChain::Reach::kHeld: return true;
    case FolderChain::Reach::kMoved:
      errmsg_whole("\"%s\": not a folder\n", path_.substr(0, held_paths_[moved]).c_str());
      break;
    case FolderChain::Reach::kLost: break;
  }
  // Its entries are passed over, and so are those of the lists inside it.
  dead_ = true;
  return false;
}
