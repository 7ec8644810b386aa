// Text-mode file input and the exclusive create of output files, the file
// operations whose behaviour differs between the platforms.
#ifndef FAVLINK_SUPPORT_TEXTIO_H_
#define FAVLINK_SUPPORT_TEXTIO_H_

#include <array>
#include <cstddef>
#include <cstdio>
#include <string>

/// Read-ahead of the POSIX text reader.
inline constexpr std::size_t kTextInBuffer = std::size_t{64} * 1024;

/// A file opened for reading as text: every CR LF pair reads as one LF, a
/// lone CR stays a CR, nothing else is translated (on Windows the C runtime's
/// text mode does this). Closed by text_close or, at the latest, when the
/// object goes out of scope.
struct TextIn {
  TextIn() = default;
  TextIn(const TextIn&) = delete;
  TextIn& operator=(const TextIn&) = delete;
  ~TextIn();

  // Platform state; only the textio-*.cc files look at it.
  std::FILE* fp = nullptr;
  int fd = -1;
  std::size_t pos = 0;       // next unread byte of buf
  std::size_t end = 0;       // end of the translated bytes in buf
  bool held_cr = false;      // a CR ended the last raw read: it may pair with an LF
  bool eof = false;
  // Left uninitialised: filled by each read before it is looked at.
  std::array<unsigned char, kTextInBuffer + 1> buf;
};

/// Opens path for reading as text. False when it cannot be opened; a
/// directory counts as a file that cannot be opened.
bool text_open(TextIn* in, const char* path);

/// Reads the next line piece exactly as fgets(buf, size, stream) does on a
/// text stream: at most size-1 bytes, up to and including the first LF, then
/// a terminator. Returns buf, or null at the end of the file when nothing was
/// read. A NUL byte is stored like any other, so it ends the piece as a C
/// string.   "ab\r\ncd" with size 1024 -> "ab\n", then "cd", then null
char* text_gets(char* buf, int size, TextIn* in);

/// Reads the next whole line, however long, into *line: the bytes up to and
/// including the first LF (NUL bytes kept), or up to the end of the file.
/// False at the end of the file when nothing was read.
bool text_getline(TextIn* in, std::string* line);

/// Closes the file; safe to call twice.
void text_close(TextIn* in);

enum class CreateResult { kCreated, kExists, kFailed };

/// Creates path for writing as a new file, and never opens one that exists:
/// an existing file, directory or symbolic link (dangling or not) gives
/// kExists and is left untouched. *out receives a write stream (text mode on
/// Windows) on kCreated.
CreateResult create_new(const char* path, std::FILE** out);

#endif  // FAVLINK_SUPPORT_TEXTIO_H_
