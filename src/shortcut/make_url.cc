#include "shortcut/make_url.h"

#include <cstdio>
#include <cstring>

UrlResult make_url(const Link& link, const ShortcutOptions& o) {
  UrlFile f;
  const bool absolute =
      std::strncmp(link.url, "http:", 5) == 0 || std::strncmp(link.url, "ftp:", 4) == 0;
  if (!join_url(link, absolute, o.url_prefix.data(), &f)) return UrlResult::kPassed;
  const char* name = link_name(link, o.name_prefix, NameRules{});
  if (name == nullptr) return UrlResult::kPassed;
  // The cleaned name keeps the blanks the cleaning left in front: "..a" -> "  a.url".
  std::snprintf(f.name.data(), f.name.size(), "%s%s.url", o.name_prefix, name);
  // A device name gets its underscore between the prefix and the name: the
  // name alone ("nul"), or the file name as a whole, whose part before its
  // first '.' Windows would open as the device ("co" + "n", "COM1", "nul.x").
  if (is_reserved(name) || is_reserved(f.name.data(), DeviceNames::kWindows)) {
    std::snprintf(f.name.data(), f.name.size(), "%s_%s.url", o.name_prefix, name);
  }
  if (!name_fits(f) || !join_path(o.outdir, &f)) return UrlResult::kPassed;
  return write_url_file(f, o);
}
