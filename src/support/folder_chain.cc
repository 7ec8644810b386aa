#include "support/folder_chain.h"

#include <utility>

void FolderChain::push(Folder&& f, std::string route) {
  const std::uint64_t volume = f.volume;
  const std::uint64_t index = f.index;
  if (f.is_open()) ++open_;
  if (!links_.empty() && links_.size() < shallow_) shallow_ = links_.size();
  links_.push_back(Held{.folder = std::move(f),
                        .route = std::move(route),
                        .volume = volume,
                        .index = index,
                        .released = false,
                        .lost = false});
  release_extra();
}

void FolderChain::pop() {
  if (links_.back().folder.is_open()) --open_;
  links_.pop_back();
}

FolderChain::Reach FolderChain::reach(std::size_t i, std::size_t* moved) {
  if (links_[i].lost) return Reach::kLost;
  if (!links_[i].released || regain(i, moved)) return Reach::kHeld;
  return Reach::kMoved;
}

// Opens the released folders from the nearest open one above i down to i,
// each from the one before by its route, one name at a time. The first that
// cannot be opened so, or is another folder now, is *moved: it and all below
// it are lost, their folders closed.
bool FolderChain::regain(std::size_t i, std::size_t* moved) {
  std::size_t m = i;
  while (links_[m - 1].released) --m;  // the first is never released
  for (; m <= i; ++m) {
    Held& h = links_[m];
    Folder got;
    const Folder* from = &links_[m - 1].folder;
    bool ok = true;
    for (std::size_t name = 0; ok && name <= h.route.size();) {
      std::size_t end = h.route.find('/', name);
      if (end == std::string::npos) end = h.route.size();
      Folder next;
      ok = open_subfolder(*from, h.route.substr(name, end - name).c_str(), &next) ==
           FolderResult::kReady;
      got = std::move(next);
      from = &got;
      name = end + 1;
    }
    if (!ok || got.volume != h.volume || got.index != h.index) {
      *moved = m;
      for (std::size_t k = m; k < links_.size(); ++k) {
        if (links_[k].folder.is_open()) --open_;
        links_[k].folder = Folder();
        links_[k].lost = true;
      }
      return false;
    }
    h.folder = std::move(got);
    h.released = false;
    ++open_;
    if (m < shallow_) shallow_ = m;
    release_extra();
  }
  return true;
}

// Lets go of the shallowest open folders but the first while more than the
// limit are open: the deepest stay, where the work goes on.
void FolderChain::release_extra() {
  while (open_ > held_folder_limit()) {
    while (!links_[shallow_].folder.is_open()) ++shallow_;
    links_[shallow_].folder = Folder();
    links_[shallow_].released = true;
    --open_;
  }
}
