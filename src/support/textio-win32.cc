#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <string>

#include "support/textio.h"
#include "support/wide_win32.h"

// The C runtime's text mode already translates CR LF on input and LF on
// output, so this side only wraps the stream functions.

TextIn::~TextIn() { text_close(this); }

bool text_open(TextIn* in, const char* path) {
  text_close(in);
  in->fp = utf8_paths() ? _wfopen(widen(path).c_str(), L"r") : std::fopen(path, "r");
  return in->fp != nullptr;
}

char* text_gets(char* buf, int size, TextIn* in) { return std::fgets(buf, size, in->fp); }

bool text_getline(TextIn* in, std::string* line) {
  line->clear();
  int c;
  while ((c = std::getc(in->fp)) != EOF) {
    line->push_back(static_cast<char>(c));
    if (c == '\n') return true;
  }
  return !line->empty();
}

void text_close(TextIn* in) {
  if (in->fp != nullptr) std::fclose(in->fp);
  in->fp = nullptr;
}

CreateResult create_new(const char* path, std::FILE** out) {
  constexpr int kFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT;
  const int fd = utf8_paths() ? _wopen(widen(path).c_str(), kFlags, _S_IREAD | _S_IWRITE)
                              : _open(path, kFlags, _S_IREAD | _S_IWRITE);
  if (fd < 0) return errno == EEXIST ? CreateResult::kExists : CreateResult::kFailed;
  std::FILE* fp = _fdopen(fd, "w");
  if (fp == nullptr) {
    _close(fd);
    return CreateResult::kFailed;
  }
  *out = fp;
  return CreateResult::kCreated;
}
