// -x reads a bookmark file by whole lines; a link whose start tag or closing
// tag is not on its line may take the lines after it, as a browser reads
// markup over line breaks, within limits that keep every byte rescanned a
// bounded number of times.
#ifndef FAVLINK_SHORTCUT_JOIN_LINES_H_
#define FAVLINK_SHORTCUT_JOIN_LINES_H_

#include <cstddef>
#include <string>

#include "support/textio.h"

/// Limits of a link spread over lines: every byte is rescanned at most this
/// often, and a link never grows past this size by joining.
inline constexpr int kJoinLines = 64;
inline constexpr std::size_t kJoinBytes = std::size_t{1} << 20;

/// True when a line may go on with a link: nothing in it before its first
/// "</A>" begins another link, entry, heading or list.
///   "x</A><DT>" -> true;  "x" -> true;  "x<DT><A HREF" -> false
bool continues_link(const char* s);

/// What joining the next line to a link gave: the joined text, or the line
/// as it stands (no next line, the limits reached, or it cannot go on with
/// the link), every link of which is then taken as it stands.
enum class Joined { kJoined, kRefused };

/// The lines of an open file without their line ends, one read ahead when a
/// link asks for it, and the joining of the current line.
class JoinedLines {
 public:
  explicit JoinedLines(TextIn* in) : in_(in) {}

  /// The next line of the file into *line; its joining starts anew. False at
  /// the end of the file.
  bool next(std::string* line);

  /// The link at at (its '<', in the current line) would read on in the next
  /// line: true when it may ask for it, false once the joining of this line
  /// has been refused.
  bool may_ask(char* at);

  /// The link may_ask last allowed asks for the next line. When that line
  /// may go on with it (and the limits allow), *line becomes the link and
  /// the next line, the line break and the blanks around it one blank, as a
  /// browser shows them, and *at its start; else *at is the link again.
  Joined join(std::string* line, char** at);

 private:
  bool peek();

  TextIn* in_;
  std::string ahead_;
  bool have_ahead_ = false;
  char* asking_ = nullptr;  // the link that asks, in the current line
  bool refused_ = false;
  int lines_ = 0;  // lines joined to the current link so far
};

#endif  // FAVLINK_SHORTCUT_JOIN_LINES_H_
