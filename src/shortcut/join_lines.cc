#include "shortcut/join_lines.h"

#include <cstring>

#include "shortcut/match.h"
#include "shortcut/scan_steps.h"

bool continues_link(const char* s) {
  for (const char* p = std::strchr(s, '<'); p != nullptr; p = std::strchr(p + 1, '<')) {
    if (starts(p, "</A>", "</a>")) return true;
    if (link_start(p) || starts(p, "<DT", "<dt") || starts(p, "<DD", "<dd") ||
        starts(p, "<DL", "<dl") || starts(p, "</DL", "</dl") || starts(p, "<H3", "<h3")) {
      return false;
    }
  }
  return true;
}

bool JoinedLines::next(std::string* line) {
  asking_ = nullptr;
  refused_ = false;
  lines_ = 0;
  if (have_ahead_) {
    line->swap(ahead_);
    have_ahead_ = false;
    return true;
  }
  if (!text_getline(in_, line)) return false;
  if (!line->empty() && line->back() == '\n') line->pop_back();
  return true;
}

// Reads the line after the current one ahead, once. False when there is none.
bool JoinedLines::peek() {
  if (!have_ahead_ && text_getline(in_, &ahead_)) {
    if (!ahead_.empty() && ahead_.back() == '\n') ahead_.pop_back();
    have_ahead_ = true;
  }
  return have_ahead_;
}

bool JoinedLines::may_ask(char* at) {
  if (refused_) return false;
  asking_ = at;
  return true;
}

Joined JoinedLines::join(std::string* line, char** at) {
  const auto from = static_cast<std::size_t>(asking_ - line->data());
  if (!peek() || lines_ == kJoinLines || line->size() - from + ahead_.size() >= kJoinBytes ||
      !continues_link(ahead_.c_str())) {
    refused_ = true;  // taken as it stands; the next line is scanned on its own
    *at = asking_;
    return Joined::kRefused;
  }
  // The scan never reads past a NUL byte: neither may the joined text.
  line->erase(0, from);
  line->resize(std::strlen(line->c_str()));
  line->erase(line->find_last_not_of(" \t") + 1);
  line->push_back(' ');
  const std::size_t lead = ahead_.find_first_not_of(" \t");
  if (lead != std::string::npos) line->append(ahead_, lead);
  have_ahead_ = false;
  ++lines_;
  *at = line->data();
  return Joined::kJoined;
}
