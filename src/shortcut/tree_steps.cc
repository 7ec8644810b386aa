#include "shortcut/tree_steps.h"

#include <algorithm>
#include <cstring>

#include "diag/errmsg.h"
#include "support/charset.h"
#include "support/sjis.h"

TreeSteps::TreeSteps(const ShortcutOptions& o)
    : run(o),
      folders_(o.outdir),
      select_mode_(o.select[0] == '\0' ? SelectMode::kAll : SelectMode::kWaiting) {}

void TreeSteps::heading(char* caption) {
  if (selecting()) {
    folders_.await_heading(run, caption);
    return;
  }
  if (level_ != 1) return;
  const char* select = run.options.select;
  bool selected = std::strcmp(caption, select) == 0;
  if (!selected && !run.utf8) {
    std::string name;
    cp932_to_utf8(caption, &name);
    selected = name == select;
  }
  if (selected) {
    select_mode_ = SelectMode::kInside;
    folders_.await_selected();
  }
}

bool TreeSteps::open_list() {
  ++level_;
  return folders_.open_list(&run, level_);
}

bool TreeSteps::close_list() {
  folders_.close_list(level_);
  --level_;
  return select_mode_ == SelectMode::kInside && level_ == 1;
}

bool TreeSteps::takes_link() {
  if (!selecting()) return false;
  if (folders_.ready()) return true;
  ++passed_;
  return false;
}

// A link that stops the run (its file could not be written) is passed over
// too: the summary counts every link met.
bool TreeSteps::put_link(const Link& link) {
  const UrlResult r = make_tree_url(&run, link, folders_.path(), folders_.current());
  if (r == UrlResult::kWritten) {
    ++written_;
  } else if (r == UrlResult::kThere) {
    ++there_;
  } else {
    ++passed_;
  }
  return r != UrlResult::kStop;
}

void TreeSteps::pass() {
  if (selecting()) ++passed_;
}

namespace {

int clamp(long long n) { return n > 2147483647LL ? 2147483647 : static_cast<int>(n); }

}  // namespace

void TreeSteps::summary() const {
  errmsg("%d written, %d already there, %d passed over\n", clamp(written_), clamp(there_),
         clamp(passed_));
}

void collapse_blanks(const std::string& in, std::string* out) {
  out->clear();
  bool blank = false;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto u = static_cast<unsigned char>(in[i]);
    const bool c1 = u == 0xC2 && i + 1 < in.size() &&
                    static_cast<unsigned char>(in[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(in[i + 1]) <= 0x9F;
    if (u <= 0x20 || u == 0x7F || c1) {
      blank = !out->empty();
      i += c1 ? 1 : 0;
      continue;
    }
    if (blank) out->push_back(' ');
    blank = false;
    out->push_back(in[i]);
  }
}

void drop_line_breaks(std::string* address) {
  address->erase(std::remove_if(address->begin(), address->end(),
                                [](char ch) { return ch == '\t' || ch == '\r' || ch == '\n'; }),
                 address->end());
}

void web_icon(std::string* icon) {
  drop_line_breaks(icon);
  if (!starts_nocase(icon->c_str(), "http:") && !starts_nocase(icon->c_str(), "https:")) {
    icon->clear();
  }
}
