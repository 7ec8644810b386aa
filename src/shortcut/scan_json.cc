#include "shortcut/scan_json.h"

#include <rapidjson/error/error.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "diag/errmsg.h"
#include "shortcut/get_link.h"
#include "shortcut/scan_tree.h"
#include "shortcut/tree_steps.h"
#include "support/json_reader.h"
#include "support/mozlz4.h"
#include "support/utf8.h"

namespace {

// The layouts, and their roots in the order they are laid out.
enum class Family { kNone, kChromium, kFirefox };
enum Root : unsigned char { kBar, kOther, kSynced, kMenu, kToolbar, kUnfiled, kMobile, kRoots };

// Where a root's node stands, and how it is laid out: as a folder of its
// own, or its children at the top.
struct RootPlace {
  JsonMark at;  // its '{' (line 0: not in the file)
  bool folder = false;
  long long children = 0;  // Firefox: a root is a folder only with children
  std::string name;        // the folder's name
};

// What the first reading learns, for the second.
struct Survey {
  Family family = Family::kNone;
  std::array<RootPlace, kRoots> roots{};
  // Every folder node: the offset of its '{', with its name.
  std::vector<std::pair<std::size_t, std::string>> folders;
  // Firefox: an address and the names of the tag folders holding it.
  std::unordered_map<std::string, std::vector<std::string>> tags;
};

// The fields of a node object that a layout reads.
enum class Field : unsigned char {
  kOther,
  kType,
  kName,
  kTitle,
  kUrl,
  kUri,
  kChromeDate,
  kFirefoxDate,
  kTags,
  kIcon,
  kRoot,
  kChildren,
  kAnnos,
  kRootsObject,
  kRootNode,
  kAnnoName,
  kAnnoValue
};

// (cppcheck does not follow the read through find_if.)
struct FieldName {
  std::string_view key;
  // cppcheck-suppress unusedStructMember
  Field field;
};

constexpr std::array<FieldName, 14> kNodeFields{{
    {"type", Field::kType},
    {"name", Field::kName},
    {"title", Field::kTitle},
    {"url", Field::kUrl},
    {"uri", Field::kUri},
    {"date_added", Field::kChromeDate},
    {"dateAdded", Field::kFirefoxDate},
    {"tags", Field::kTags},
    {"iconUri", Field::kIcon},
    {"iconuri", Field::kIcon},
    {"root", Field::kRoot},
    {"children", Field::kChildren},
    {"annos", Field::kAnnos},
    {"roots", Field::kRootsObject},
}};

// One node object being read. Its fields are kept until it ends: in
// Chromium's files a folder's "children" come before its "name" and "type".
struct Node {
  JsonMark at;  // its '{' (the parser calls StartObject before taking it)
  std::string type, name, url, date, tags, icon, root, description;
  bool has_name = false;
  bool has_url = false;
  long long firefox_date = 0;
  long long children = -1;                     // nodes in its "children"; -1: none given
  bool listed = false;                         // its folder's list is open (second reading)
  std::vector<std::string> uris;               // its links' addresses (tag folders)
  std::vector<std::string> tag_folders;        // its tag folders' names, then their
  std::vector<std::vector<std::string>> held;  // addresses (the tags root)

  void reset(JsonMark where) {
    at = where;
    for (std::string* s : {&type, &name, &url, &date, &tags, &icon, &root, &description})
      s->clear();
    has_name = has_url = listed = false;
    firefox_date = 0;
    children = -1;
    uris.clear();
    tag_folders.clear();
    held.clear();
  }
  bool chromium_link() const { return type == "url"; }
  bool firefox_link() const { return type == "text/x-moz-place" && has_url; }
  bool folder() const { return type == "folder" || type == "text/x-moz-place-container"; }
};

// What kind of value each open array or object is.
enum class Open : unsigned char { kNode, kRootsObject, kChildren, kAnnos, kAnno };

constexpr std::string_view kDescription = "bookmarkProperties/description";

// The SAX handler of both readings. The first (survey) checks the whole file
// and learns the layout, each folder's name and the tag folders; the second
// (write) is started at one root's node and hands its folders and links to
// the writer as they end.
class NodeReader {
 public:
  NodeReader(JsonIn* in, Survey* survey, TreeSteps* steps) : in_(in), s_(survey), steps_(steps) {}

  // Error texts: the handler's own, when it stopped the parser.
  const std::string& fault() const { return fault_; }
  bool stopped() const { return stop_ != Stop::kNone; }
  bool write_failed() const { return stop_ == Stop::kWriteFailed; }

  bool Null() { return scalar(); }
  bool Bool(bool) { return scalar(); }
  bool Int(int i) { return number(i); }
  bool Uint(unsigned u) { return number(u); }
  bool Int64(std::int64_t i) { return number(i); }
  bool Uint64(std::uint64_t u) {
    return number(u > 9223372036854775807ULL ? 0 : static_cast<long long>(u));
  }
  bool Double(double) { return number(0); }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return number(0); }
  bool String(const char* s, rapidjson::SizeType n, bool) { return string(std::string_view(s, n)); }
  bool Key(const char* s, rapidjson::SizeType n, bool) {
    if (skip_ > 0) return true;
    key_.assign(s, n);
    field_ = Field::kOther;
    if (open_.back() == Open::kAnno) {
      field_ = key_ == "name"    ? Field::kAnnoName
               : key_ == "value" ? Field::kAnnoValue
                                 : Field::kOther;
    } else if (open_.back() == Open::kNode) {
      const auto f = std::find_if(kNodeFields.begin(), kNodeFields.end(),
                                  [this](const FieldName& known) { return known.key == key_; });
      if (f != kNodeFields.end()) field_ = f->field;
      if (field_ == Field::kRootsObject && node_depth_ > 1) field_ = Field::kOther;
    } else if (open_.back() == Open::kRootsObject) {
      root_key_ = key_ == "bookmark_bar" ? kBar
                  : key_ == "other"      ? kOther
                  : key_ == "synced"     ? kSynced
                                         : kRoots;
      if (root_key_ != kRoots) field_ = Field::kRootNode;
    }
    return true;
  }
  bool StartObject() { return start(true); }
  bool EndObject(rapidjson::SizeType) { return end(); }
  bool StartArray() { return start(false); }
  bool EndArray(rapidjson::SizeType) { return end(); }

 private:
  enum class Stop { kNone, kFault, kWriteFailed, kDone };

  bool survey() const { return steps_ == nullptr; }

  bool fail(std::string what) {
    fault_ = std::move(what);
    stop_ = Stop::kFault;
    return false;
  }
  bool wrong_type(const char* expected) {
    std::string what = "\"";
    what.append(key_).append("\" is not ").append(expected);
    return fail(std::move(what));
  }

  Node& node() { return nodes_[static_cast<std::size_t>(node_depth_ - 1)]; }

  // A value where a field of a known type is awaited.
  bool scalar() {
    if (skip_ > 0 || !expects_value()) return true;
    return wrong_type(expected_type());
  }
  bool expects_value() const {
    return (open_.back() == Open::kNode || open_.back() == Open::kRootsObject) &&
           field_ != Field::kOther;
  }
  const char* expected_type() const {
    switch (field_) {
      case Field::kFirefoxDate: return "a number";
      case Field::kChildren:
      case Field::kAnnos: return "an array";
      case Field::kRootsObject:
      case Field::kRootNode: return "an object";
      default: return "a string";
    }
  }

  bool number(long long v) {
    if (skip_ > 0) return true;
    if (open_.back() == Open::kNode && field_ == Field::kFirefoxDate) {
      node().firefox_date = v;
      return true;
    }
    return scalar();
  }

  bool string(std::string_view v) {
    if (skip_ > 0) return true;
    if (open_.back() == Open::kAnno) {
      if (field_ == Field::kAnnoName) anno_name_ = v;
      if (field_ == Field::kAnnoValue) {
        anno_value_.assign(v.data(), v.size());
        anno_has_value_ = true;
      }
      return true;
    }
    if (!expects_value()) return true;
    if (open_.back() == Open::kRootsObject) return wrong_type(expected_type());
    Node& n = node();
    switch (field_) {
      case Field::kType: n.type = v; break;
      case Field::kName:
      case Field::kTitle:
        // Chromium names a node by "name", Firefox by "title".
        if (!n.has_name || field_ == Field::kName) n.name = v;
        n.has_name = true;
        break;
      case Field::kUrl:
      case Field::kUri:
        n.url = v;
        n.has_url = true;
        break;
      case Field::kChromeDate: n.date = v; break;
      case Field::kTags: n.tags = v; break;
      case Field::kIcon: n.icon = v; break;
      case Field::kRoot: n.root = v; break;
      default: return wrong_type(expected_type());
    }
    return true;
  }

  bool start(bool object) {
    if (open_.size() + static_cast<std::size_t>(skip_) >= kJsonDepthMost) {
      std::string what = "nested deeper than ";
      what.append(std::to_string(kJsonDepthMost)).append(" levels");
      return fail(std::move(what));
    }
    if (skip_ > 0) {
      ++skip_;
      return true;
    }
    if (open_.empty()) {
      if (!object) return fail("the top is not an object");
      return open_node();
    }
    switch (open_.back()) {
      case Open::kChildren:
        if (!object) return fail("a child of \"children\" is not an object");
        return open_node();
      case Open::kAnnos:
        if (!object) return fail("an entry of \"annos\" is not an object");
        anno_name_.clear();
        anno_value_.clear();
        anno_has_value_ = false;
        open_.push_back(Open::kAnno);
        return true;
      case Open::kRootsObject:
        if (root_key_ == kRoots) break;
        if (!object) return wrong_type("an object");
        root_at(root_key_);
        return open_node();
      case Open::kNode: return start_field(object);
      case Open::kAnno: break;
    }
    ++skip_;
    return true;
  }

  // An array or object as the value of a node's field.
  bool start_field(bool object) {
    const Field f = field_;
    if (f == Field::kChildren || f == Field::kAnnos) {
      if (object) return wrong_type("an array");
      if (f == Field::kChildren) return open_children();
      open_.push_back(Open::kAnnos);
      return true;
    }
    if (f == Field::kRootsObject) {
      if (!object) return wrong_type("an object");
      s_->family = Family::kChromium;
      open_.push_back(Open::kRootsObject);
      return true;
    }
    if (f != Field::kOther) return wrong_type(expected_type());
    ++skip_;
    return true;
  }

  // Records where a Chromium root's node starts (the '{' just read).
  void root_at(Root r) {
    if (!survey()) return;
    RootPlace& p = s_->roots[r];
    p.at = in_->mark();
    p.folder = r == kBar;
  }

  bool open_node() {
    if (static_cast<std::size_t>(node_depth_) == nodes_.size()) nodes_.emplace_back();
    nodes_[static_cast<std::size_t>(node_depth_)].reset(in_->mark());
    ++node_depth_;
    open_.push_back(Open::kNode);
    return true;
  }

  bool open_children() {
    Node& n = node();
    n.children = 0;
    if (survey() || node_depth_ == 1 || (open_list(n) && n.listed)) {
      open_.push_back(Open::kChildren);
      return !stopped();
    }
    ++skip_;  // not a folder of the tree: read past
    return !stopped();
  }

  bool end() {
    if (skip_ > 0) {
      --skip_;
      return true;
    }
    const Open o = open_.back();
    open_.pop_back();
    if (o == Open::kAnno) return end_anno();
    if (o == Open::kChildren) return end_children();
    if (o == Open::kNode) return end_node();
    return true;
  }

  bool end_anno() {
    if (anno_name_ == kDescription && anno_has_value_) node().description = anno_value_;
    return true;
  }

  // Second reading: a folder's list opens once its "children" begin (its
  // name is known from the first reading; n.listed says it was there). The
  // root node the reading starts at lists its children where the caller
  // stands. False when the disk is full.
  bool open_list(Node& n) {
    const auto it = std::lower_bound(s_->folders.begin(), s_->folders.end(), n.at.offset,
                                     [](const auto& f, std::size_t at) { return f.first < at; });
    if (it == s_->folders.end() || it->first != n.at.offset) return true;
    caption_ = it->second;
    steps_->heading(caption_.data());
    n.listed = true;
    return steps_->open_list() || halt(Stop::kWriteFailed);
  }

  bool halt(Stop why) {
    stop_ = why;
    return false;
  }

  bool end_children() {
    Node& n = node();
    if (!survey() && n.listed) {
      n.listed = false;
      if (steps_->close_list()) return halt(Stop::kDone);
    }
    return true;
  }

  bool end_node() {
    Node& n = node();
    bool go_on = true;
    if (node_depth_ > 1) ++nodes_[static_cast<std::size_t>(node_depth_ - 2)].children;
    if (survey()) {
      survey_node(n);
    } else if (n.chromium_link() || n.firefox_link()) {
      go_on = put_link(n);
    } else if (n.folder() && n.children < 0 && node_depth_ > 1) {
      // A folder without "children": its list is empty.
      go_on = open_list(n) && end_children();
    }
    --node_depth_;
    if (node_depth_ == 0) return end_top(n) && go_on;
    return go_on;
  }

  void survey_node(Node& n) {
    if (n.folder()) s_->folders.emplace_back(n.at.offset, n.name);
    if (node_depth_ < 2) return;
    if (s_->family == Family::kChromium) {
      if (node_depth_ == 2) chromium_root(n);
      return;
    }
    // Firefox: the links of a tag folder (a node of the tags root, which is a
    // child of the top), then the tags root's tag folders. Nodes of another
    // root are not kept.
    Node& parent = nodes_[static_cast<std::size_t>(node_depth_ - 2)];
    const Node& root = nodes_[1];
    const bool may_tag = root.root.empty() || root.root == "tagsFolder";
    if (n.firefox_link() && node_depth_ == 4 && may_tag) parent.uris.push_back(n.url);
    if (n.folder() && node_depth_ == 3 && may_tag && !n.uris.empty()) {
      parent.tag_folders.push_back(n.name);
      parent.held.push_back(std::move(n.uris));
      n.uris.clear();
    }
    if (node_depth_ == 2) firefox_root(n);
  }

  // A Chromium root's name, by where its node began.
  void chromium_root(const Node& n) {
    for (RootPlace& p : s_->roots) {
      if (p.at.offset == n.at.offset) p.name = n.name;
    }
  }

  // A child of Firefox's top node: a root by its "root" name.
  void firefox_root(Node& n) {
    static constexpr std::array<std::pair<std::string_view, Root>, 4> kFirefoxRoots{{
        {"bookmarksMenuFolder", kMenu},
        {"toolbarFolder", kToolbar},
        {"unfiledBookmarksFolder", kUnfiled},
        {"mobileFolder", kMobile},
    }};
    if (n.root == "tagsFolder") {
      for (std::size_t i = 0; i < n.tag_folders.size(); ++i) {
        for (const std::string& uri : n.held[i]) s_->tags[uri].push_back(n.tag_folders[i]);
      }
      return;
    }
    for (const auto& [root, r] : kFirefoxRoots) {
      if (n.root != root) continue;
      RootPlace& p = s_->roots[r];
      p.at = n.at;
      p.folder = r != kMenu;
      p.children = std::max(n.children, 0LL);
      p.name = n.name;
    }
  }

  // The end of the top object: which layout the file has.
  bool end_top(const Node& top) {
    if (!survey()) return true;
    if (s_->family == Family::kChromium) return true;
    if (top.type == "text/x-moz-place-container" && top.root == "placesRoot") {
      s_->family = Family::kFirefox;
      return true;
    }
    return fail("no Chromium \"roots\" and no Firefox \"placesRoot\" at the top");
  }

  bool put_link(Node& n);

  JsonIn* in_;
  Survey* s_;
  TreeSteps* steps_;  // null in the first reading
  std::vector<Open> open_;
  int skip_ = 0;  // levels of a value read past
  std::vector<Node> nodes_;
  int node_depth_ = 0;
  std::string key_;  // the key whose value comes next
  Field field_ = Field::kOther;
  Root root_key_ = kRoots;
  std::string anno_name_;
  std::string anno_value_;
  bool anno_has_value_ = false;
  std::string fault_;
  Stop stop_ = Stop::kNone;
  // The texts of the link being written, their room reused.
  std::string caption_, url_, icon_, description_, tags_, text_;
};

// A JSON string as text for a name or a text: a NUL (\u0000) a blank, as
// control characters in names become; bytes that are not UTF-8 U+FFFD.
void json_text(const std::string& in, std::string* out) {
  out->clear();
  if (is_utf8(in) && in.find('\0') == std::string::npos) {
    out->assign(in);
    return;
  }
  std::string blanked = in;
  std::replace(blanked.begin(), blanked.end(), '\0', ' ');
  valid_utf8(blanked, out);
}

// Chromium's "date_added": microseconds since 1601-01-01 UTC, in decimal, as
// seconds since 1970; 0 (none) when it is not 1 to 18 digits, or 0.
long long chromium_time(const std::string& v) {
  if (v.empty() || v.size() > 18 ||
      !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  const long long us = std::stoll(v);
  return us == 0 ? 0 : us / 1000000 - 11644473600LL;
}

// Microseconds since 1970 as seconds, rounded down as file times are.
long long firefox_time(long long us) {
  const long long s = us / 1000000;
  return us % 1000000 < 0 ? s - 1 : s;
}

// A link's tags: its own "tags" as they stand, then each tag folder holding
// its address that they do not name already, joined by ','.
void link_tags(const Node& n, const Survey& s, std::string* out) {
  *out = n.tags;
  const auto it = s.tags.find(n.url);
  if (it == s.tags.end()) return;
  for (const std::string& tag : it->second) {
    bool named = false;
    for (std::size_t at = 0; at <= n.tags.size() && !named;) {
      std::size_t comma = n.tags.find(',', at);
      if (comma == std::string::npos) comma = n.tags.size();
      named = std::string_view(n.tags).substr(at, comma - at) == tag;
      at = comma + 1;
    }
    if (named) continue;
    if (!out->empty()) out->push_back(',');
    out->append(tag);
  }
}

// A javascript: address as an href gives it: the page its window.open opens,
// else passed over with the report an HTML file's link gets. *tag is room.
bool script_address(std::string* url, std::string* tag) {
  tag->clear();
  tag->push_back('"');
  tag->append(*url);
  tag->push_back('"');
  if (!script_href(tag->c_str())) return true;
  std::size_t n = 0;
  const char* href = href_text(tag->data(), &n);
  if (href == nullptr) return false;
  url->assign(href, n);
  return true;
}

bool NodeReader::put_link(Node& n) {
  if (!steps_->takes_link()) return true;
  json_text(n.name, &caption_);
  json_text(n.url, &url_);
  if (!script_address(&url_, &text_)) {
    steps_->pass();
    return true;
  }
  drop_line_breaks(&url_);
  json_text(n.icon, &icon_);
  web_icon(&icon_);
  json_text(n.description, &text_);
  collapse_blanks(text_, &description_);
  link_tags(n, *s_, &text_);
  json_text(text_, &n.tags);
  collapse_blanks(n.tags, &tags_);
  const long long added = n.chromium_link() ? chromium_time(n.date) : firefox_time(n.firefox_date);
  const Link link{caption_.data(), url_.c_str(), added,
                  UrlExtras{icon_.c_str(), description_.c_str(), tags_.c_str()}};
  return steps_->put_link(link) || halt(Stop::kWriteFailed);
}

// What the parser found wrong, in the words of a report.
const char* parse_fault(rapidjson::ParseErrorCode code) {
  switch (code) {
    case rapidjson::kParseErrorDocumentEmpty: return "no JSON value";
    case rapidjson::kParseErrorDocumentRootNotSingular: return "text after the end";
    case rapidjson::kParseErrorValueInvalid: return "not a JSON value";
    case rapidjson::kParseErrorObjectMissName: return "a name expected";
    case rapidjson::kParseErrorObjectMissColon: return "a ':' missing";
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket: return "a ',' or '}' missing";
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket: return "a ',' or ']' missing";
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
      return "a \\u escape without 4 hex digits";
    case rapidjson::kParseErrorStringEscapeInvalid:
      // The parser says so of a control character not escaped, too.
      return "an unknown escape or a control character in a string";
    case rapidjson::kParseErrorStringMissQuotationMark:
      return "a string not closed, or a NUL byte in it";
    case rapidjson::kParseErrorNumberTooBig: return "a number too big";
    case rapidjson::kParseErrorNumberMissFraction: return "a number without its fraction";
    case rapidjson::kParseErrorNumberMissExponent: return "a number without its exponent";
    default: return "not JSON";
  }
}

// How one reading of the file ended.
enum class Read { kWhole, kStopped, kFault };

constexpr unsigned kSurveyFlags =
    rapidjson::kParseIterativeFlag | rapidjson::kParseTrailingCommasFlag;
constexpr unsigned kNodeFlags = kSurveyFlags | rapidjson::kParseStopWhenDoneFlag;

// Reports a reading that failed: the file could not be read, or is not a
// bookmark file. Gives kFault.
Read report(const char* file, JsonIn& in, const NodeReader& h, rapidjson::ParseErrorCode code) {
  if (in.failed()) {
    errmsg("\"%s\": read error\n", file);
  } else {
    // A text cut short fails wherever the parser then stands: say so.
    const bool cut =
        h.fault().empty() && code != rapidjson::kParseErrorDocumentEmpty && in.at_end();
    const std::string what = !h.fault().empty() ? h.fault()
                             : cut              ? "the text ends early"
                                                : parse_fault(code);
    errmsg("%s: not a bookmark file (%s, line %d)\n", file, what.c_str(),
           static_cast<int>(std::min(in.line(), 2147483647LL)));
  }
  return Read::kFault;
}

// The second reading: each root of the layout in its order, read from where
// the first reading found it.
Read write_tree(const char* file, JsonIn* in, Survey* s, TreeSteps* steps) {
  JsonReader reader;
  if (!steps->open_list()) return Read::kStopped;
  for (const RootPlace& root : s->roots) {
    if (root.at.line == 0) continue;
    if (root.folder && s->family == Family::kFirefox && root.children == 0) continue;
    if (root.folder) {
      std::string name = root.name;
      steps->heading(name.data());
      if (!steps->open_list()) return Read::kStopped;
    }
    in->seek(root.at);
    NodeReader h(in, s, steps);
    const rapidjson::ParseResult r = reader.Parse<kNodeFlags>(*in, h);
    if (h.write_failed()) return Read::kStopped;
    if (h.stopped() && h.fault().empty()) return Read::kWhole;  // the -s folder ended
    if (r.IsError()) return report(file, *in, h, r.Code());
    if (root.folder && steps->close_list()) return Read::kWhole;
  }
  steps->close_list();
  return Read::kWhole;
}

// The name Firefox shows for a root whose title is empty or its internal
// name.
void firefox_names(Survey* s) {
  // The internal name and the shown one of kToolbar, kUnfiled, kMobile.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kShown{{
      {"toolbar", "Bookmarks Toolbar"},
      {"unfiled", "Other Bookmarks"},
      {"mobile", "Mobile Bookmarks"},
  }};
  for (std::size_t i = 0; i < kShown.size(); ++i) {
    std::string& name = s->roots[kToolbar + i].name;
    if (name.empty() || name == kShown[i].first) name = kShown[i].second;
  }
}

// The text of a compressed file, read whole. False when it is damaged
// (reported) or cannot be read.
bool decompress(const char* file, TextIn* in, std::vector<unsigned char>* text) {
  std::vector<unsigned char> raw;
  std::array<unsigned char, 65536> block;
  std::ptrdiff_t got = 0;
  while ((got = text_read_fd(in->fd, block.data(), block.size())) > 0) {
    raw.insert(raw.end(), block.begin(), block.begin() + got);
  }
  if (got < 0) {
    errmsg("\"%s\": read error\n", file);
    return false;
  }
  if (mozlz4_decode(raw.data(), raw.size(), text)) return true;
  errmsg("%s: not a bookmark file (damaged LZ4 block)\n", file);
  return false;
}

// Both readings of the text in in.
int read_json(const char* file, JsonIn* in, TreeSteps* steps) {
  Survey s;
  {
    JsonReader reader;
    NodeReader h(in, &s, nullptr);
    const rapidjson::ParseResult r = reader.Parse<kSurveyFlags>(*in, h);
    if (r.IsError() || in->failed()) {
      report(file, *in, h, r.Code());
      return kScanNotWhole;
    }
  }
  if (s.family == Family::kFirefox) firefox_names(&s);
  std::sort(s.folders.begin(), s.folders.end());
  const Read r = write_tree(file, in, &s, steps);
  return r == Read::kWhole ? 0 : r == Read::kStopped ? -1 : kScanNotWhole;
}

}  // namespace

BookmarkFormat bookmark_format(TextIn* in) {
  std::array<unsigned char, 4096> b;
  BookmarkFormat f = BookmarkFormat::kHtml;
  bool first = true;
  std::ptrdiff_t got = 0;
  while ((got = text_read_fd(in->fd, b.data(), b.size())) > 0) {
    std::size_t i = 0;
    const auto n = static_cast<std::size_t>(got);
    if (first) {
      first = false;
      if (n >= kMozLz4Magic.size() && std::memcmp(b.data(), kMozLz4Magic.data(), 8) == 0) {
        f = BookmarkFormat::kMozLz4;
        break;
      }
      if (n >= kUtf8Bom.size() && std::memcmp(b.data(), kUtf8Bom.data(), kUtf8Bom.size()) == 0)
        i = 3;
    }
    while (i < n && (b[i] == ' ' || b[i] == '\t' || b[i] == '\r' || b[i] == '\n')) ++i;
    if (i < n) {
      if (b[i] == '{') f = BookmarkFormat::kJson;
      break;
    }
  }
  text_seek_fd(in->fd, 0);
  return f;
}

int scan_json(const char* file, TextIn* in, BookmarkFormat format, const ShortcutOptions& o) {
  TreeSteps steps(o);
  steps.run.utf8 = true;
  int result = 0;
  try {
    if (format == BookmarkFormat::kMozLz4) {
      std::vector<unsigned char> text;
      if (decompress(file, in, &text)) {
        JsonIn json(&text);
        result = read_json(file, &json, &steps);
      } else {
        result = kScanNotWhole;
      }
    } else {
      JsonIn json(in->fd);
      result = read_json(file, &json, &steps);
    }
  } catch (const std::bad_alloc&) {
    errmsg("cannot get memory\n");
    result = kScanNotWhole;
  }
  steps.summary();
  return result;
}
