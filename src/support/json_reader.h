// A JSON text as the parser reads it, and the parser over it. The parser is
// rapidjson's SAX reader; this is its input stream and its stack.
#ifndef FAVLINK_SUPPORT_JSON_READER_H_
#define FAVLINK_SUPPORT_JSON_READER_H_

#include <rapidjson/reader.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

/// The UTF-8 byte order mark, which may begin a JSON text.
inline constexpr std::string_view kUtf8Bom{"\xEF\xBB\xBF"};

// The allocator type of the parser's stack, which selects the stack below.
struct JsonStack {};

// The parser's stack (the string being read, and one entry for each open
// array or object), for JsonStack: the library's own does arithmetic on a
// null pointer before its first allocation. This one allocates first, and
// memory running out is std::bad_alloc, as everywhere else. The parser pushes
// and pops strings and counts of its own; it never keeps a pointer across a
// push.
namespace rapidjson::internal {
template <>
class Stack<JsonStack> {
 public:
  Stack(JsonStack*, std::size_t) {}
  ~Stack() { std::free(base_); }
  Stack(const Stack&) = delete;
  Stack& operator=(const Stack&) = delete;

  template <typename T>
  T* Push(std::size_t count = 1) {
    const std::size_t need = top_ + sizeof(T) * count;
    if (need > size_) grow(need);
    T* p = reinterpret_cast<T*>(base_ + top_);
    top_ = need;
    return p;
  }
  template <typename T>
  T* Pop(std::size_t count) {
    top_ -= sizeof(T) * count;
    return reinterpret_cast<T*>(base_ + top_);
  }
  template <typename T>
  T* Top() {
    return reinterpret_cast<T*>(base_ + top_ - sizeof(T));
  }
  void Clear() { top_ = 0; }

 private:
  void grow(std::size_t need) {
    const std::size_t size = std::max(need, size_ < 256 ? std::size_t{256} : size_ + size_ / 2);
    void* p = std::realloc(base_, size);
    if (p == nullptr) throw std::bad_alloc();
    base_ = static_cast<char*>(p);
    size_ = size;
  }

  char* base_ = nullptr;
  std::size_t size_ = 0;
  std::size_t top_ = 0;
};
}  // namespace rapidjson::internal

/// A place in a JSON text: the offset of a byte outside any string, and its
/// line (0: no place).
struct JsonMark {
  std::size_t offset = 0;
  long long line = 0;
};

// The JSON text as the parser reads it: a file read in blocks, or a text in
// memory (a decoded .jsonlz4), with the line reached counted for reports.
// It also mends what the parser would refuse in a string that browsers do
// write: a \u escape of a lone surrogate becomes \uFFFD (U+FFFD) before the
// parser sees it.
class JsonIn {
 public:
  using Ch = char;

  explicit JsonIn(int fd) : fd_(fd), buf_(kBlock) { skip_bom(); }
  explicit JsonIn(std::vector<unsigned char>* text) : buf_(std::move(*text)) {
    end_ = buf_.size();
    eof_ = true;
    skip_bom();
  }

  Ch Peek() {
    if (p_ == end_ && !fill(1)) return '\0';
    return static_cast<Ch>(buf_[p_]);
  }

  Ch Take() {
    const Ch c = Peek();
    if (p_ == end_) return c;
    ++p_;
    if (c == '\n') ++line_;
    if (escape_) {
      escape_ = false;
      if (c == 'u') mend_surrogate();
    } else if (c == '\\' && in_string_) {
      escape_ = true;
    } else if (c == '"') {
      in_string_ = !in_string_;
    }
    return c;
  }

  std::size_t Tell() const { return static_cast<std::size_t>(base_) + p_; }

  // Output side of the stream concept: the parser copies strings into its
  // own stack, never into the input.
  static Ch* PutBegin() { return nullptr; }
  static void Put(Ch) {}
  static void Flush() {}
  static std::size_t PutEnd(Ch*) { return 0; }

  long long line() const { return line_; }
  // True when the whole text has been read.
  bool at_end() { return Peek() == '\0' && p_ == end_; }
  bool failed() const { return failed_; }

  // Where the next byte stands.
  JsonMark mark() const { return JsonMark{Tell(), line_}; }

  // Reads on from a place mark() gave.
  void seek(JsonMark at);

 private:
  static constexpr std::size_t kBlock = std::size_t{64} * 1024;

  // Makes at least n bytes from p_ on readable, when the file has them.
  bool fill(std::size_t n);

  void skip_bom();

  // The value of the four hex digits at p, or -1.
  static long hex4(const unsigned char* p);

  // At the four digits of a \u escape: a high surrogate not followed by the
  // escape of a low one, and a low one not after a high one, become FFFD.
  void mend_surrogate();

  int fd_ = -1;
  std::vector<unsigned char> buf_;
  std::size_t p_ = 0;
  std::size_t end_ = 0;
  long long base_ = 0;  // the file offset of buf_[0]
  bool eof_ = false;
  bool failed_ = false;
  long long line_ = 1;
  bool in_string_ = false;
  bool escape_ = false;
  bool low_due_ = false;  // a high surrogate's low half comes next
};

/// The parser over a JsonIn.
using JsonReader = rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>, JsonStack>;

#endif  // FAVLINK_SUPPORT_JSON_READER_H_
