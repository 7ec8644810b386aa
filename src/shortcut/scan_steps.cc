#include "shortcut/scan_steps.h"

#include <cstring>

#include "shortcut/match.h"

char* next_tag(char* p, bool* in_comment) {
  // Every rule starts with '<' outside a comment and with '-' inside one:
  // skip straight to the next candidate byte.
  for (;;) {
    p = std::strchr(p, *in_comment ? '-' : '<');
    if (p == nullptr) return nullptr;
    if (*in_comment) {
      if (has(p, "-->")) {
        *in_comment = false;
        p += 3;
      } else {
        ++p;
      }
    } else if (has(p, "<!--")) {
      *in_comment = true;
      p += 4;
    } else {
      return p;
    }
  }
}

char* find_href(char* p) {
  char* r = p;
  while (*r != '\0' && *r != '>' && !starts(r, "HREF=\"", "href=\"")) ++r;
  return r;
}
