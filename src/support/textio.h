// Text-mode file input, which reads differently on the two platforms. The
// line reader (textio.cc) is the same on both; it reads raw blocks through
// the platform half (textio-posix.cc, textio-win32.cc) and translates them
// itself. (Output files: outfile.h.)
#ifndef FAVLINK_SUPPORT_TEXTIO_H_
#define FAVLINK_SUPPORT_TEXTIO_H_

#include <array>
#include <cstddef>
#include <string>

class Folder;  // support/folder.h

/// Read-ahead of the text reader: one raw read.
inline constexpr std::size_t kTextInBuffer = std::size_t{64} * 1024;

/// A file opened for reading as text, with the bytes a C runtime's text
/// stream gives on Windows: every CR LF pair reads as one LF, a lone CR stays
/// a CR, NUL bytes are kept; on Windows a Ctrl-Z (0x1A) ends the file, on
/// POSIX it is a byte like any other. Closed by text_close or, at the latest,
/// when the object goes out of scope.
struct TextIn {
  TextIn() = default;
  TextIn(const TextIn&) = delete;
  TextIn& operator=(const TextIn&) = delete;
  ~TextIn();

  // Reader state; only the textio*.cc files look at it.
  int fd = -1;
  std::size_t pos = 0;   // next unread byte of buf
  std::size_t end = 0;   // end of the translated bytes in buf
  bool held_cr = false;  // a CR ended the last raw read: it may pair with an LF
  bool eof = false;      // no raw byte is left to read
  bool failed = false;   // a raw read failed: the file ended there, not whole
  // Left uninitialised: filled by each read before it is looked at.
  std::array<unsigned char, kTextInBuffer> buf;
};

/// Opens path for reading as text. False when it cannot be opened; a
/// directory counts as a file that cannot be opened.
bool text_open(TextIn* in, const char* path);

/// What text_open_regular found at a path.
enum class TextOpen { kOpened, kNotFound, kNotRegular };

/// Opens path for reading as text, as text_open does, when it is a regular
/// file or a link to one; with folder, path is a name in that folder, opened
/// through it. Anything else, a FIFO, socket, device or folder, gives
/// kNotRegular and is never read: the open does not wait (for a FIFO's
/// writer, say), and the file's kind is taken from the open file itself.
/// kNotFound when it cannot be opened.
TextOpen text_open_regular(TextIn* in, const char* path, const Folder* folder = nullptr);

/// Reads the next line piece exactly as fgets(buf, size, stream) does on a
/// text stream: at most size-1 bytes, up to and including the first LF, then
/// a terminator. Returns buf, or null at the end of the file when nothing was
/// read. A NUL byte is stored like any other, so it ends the piece as a C
/// string.   "ab\r\ncd" with size 1024 -> "ab\n", then "cd", then null
char* text_gets(char* buf, int size, TextIn* in);

/// Reads the next whole line, however long, into *line: the bytes up to and
/// including the first LF (NUL bytes kept), or up to the end of the file.
/// False at the end of the file when nothing was read, and at a read error
/// (text_failed), the part of the line read before it dropped. A line longer
/// than memory throws std::bad_alloc, the reader then in the line.
///   "ab\r\n\rc" -> "ab\n", then "\rc", then false
bool text_getline(TextIn* in, std::string* line);

/// Reads on in the current line, appending to *line at most most of its
/// bytes, up to and including the first LF; the rest of a longer line stays
/// to be read. False when nothing was read: at the end of the file, or at a
/// read error (text_failed). So a line is looked at by its start and taken
/// whole, or passed over, only when it is wanted.
///   "URL=http://a/\n": most 4 -> "URL=", then most npos -> "URL=http://a/\n"
bool text_readon(TextIn* in, std::string* line, std::size_t most);

/// Passes over the rest of the current line, through its LF, holding none of
/// it: a line of any length costs no memory.
///   "abc\nd" after text_readon of 1 byte -> the next read gives "d"
void text_skipline(TextIn* in);

/// True once a raw read of the file has failed: the file ended there for the
/// reader, and what it gave is not the whole file.
bool text_failed(const TextIn& in);

/// Closes the file; safe to call twice.
void text_close(TextIn* in);

/// Last-write time of the open file, in whole seconds since 1970 (earlier
/// times negative, rounded down); 0 when the system cannot tell it. Asked of
/// the open file, so it is the time of the file read, whatever its path now
/// names. (Platform half: fstat on POSIX, GetFileTime on Windows.)
long long text_mtime(const TextIn& in);

/// The length of the text in the raw bytes b[0..n): up to its first Ctrl-Z
/// (0x1A) where a Ctrl-Z ends a text (Windows), all n bytes elsewhere.
///   "ab\x1A" "c" -> 2 on Windows, 4 on POSIX
std::size_t text_end(const unsigned char* b, std::size_t n);

// The platform half of the reader, for textio.cc and for the checks that
// read an open file whole (charset.cc): raw bytes, untranslated.

/// Opens path for reading raw bytes: a file descriptor, or -1.
int text_open_fd(const char* path);

/// What text_open_regular_fd gives for a path where something other than a
/// regular file stands.
inline constexpr int kNotRegularFd = -2;

/// text_open_fd for text_open_regular (path a name in folder when folder is
/// not null): the descriptor of a regular file, kNotRegularFd for anything
/// else, or -1.
int text_open_regular_fd(const char* path, const Folder* folder);

/// Reads at most size raw bytes of fd into to: their count, 0 at the end of
/// the file, -1 on a read error.
std::ptrdiff_t text_read_fd(int fd, unsigned char* to, std::size_t size);

/// Closes a descriptor of text_open_fd.
void text_close_fd(int fd);

/// The read position of fd, or -1. With text_seek_fd it lets a check read
/// an open file from its start and put the reader back where it was.
long long text_tell_fd(int fd);

/// Moves the read position of fd to pos; false when it cannot be moved.
bool text_seek_fd(int fd, long long pos);

#endif  // FAVLINK_SUPPORT_TEXTIO_H_
