// -x scans lines of any length: the searches that could run to the end of a
// line are made at most once per stretch of it, so a line of a million broken
// links is read a bounded number of times.
#ifndef FAVLINK_SHORTCUT_LINE_CACHE_H_
#define FAVLINK_SHORTCUT_LINE_CACHE_H_

/// The searches over one line, each remembered from where it was made to
/// what it found. Made anew (reset) whenever the text of the line changes;
/// the scan position only moves forward, and the cuts the scan writes lie
/// behind it.
class LineCache {
 public:
  /// Starts over on line: a new line, or the text of the line has changed.
  void reset(const char* line);

  /// tag_end(q) for a q at or after every earlier one on the line.
  char* tag_end_at(char* q);

  /// The first "</A>" or "</a>" at or after p, or null.
  char* close_a(char* p);

  /// The first "</H3>" or "</h3>" at or after p, or null.
  char* close_h3(char* p);

 private:
  // The first place at or after from where a text was found (null: nowhere
  // up to the end of the line).
  struct Found {
    const char* from = nullptr;
    char* at = nullptr;
  };

  const char* quotes_to_ = nullptr;  // quote parity of the line is known up to here
  int parity_ = 0;
  const char* end_from_[2] = {nullptr, nullptr};  // per parity: tag end searched from ...
  char* end_at_[2] = {nullptr, nullptr};          // ... and found (null: none)
  Found close_a_;
  Found close_h3_;
};

#endif  // FAVLINK_SHORTCUT_LINE_CACHE_H_
