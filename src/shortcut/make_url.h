// Writing the Internet Shortcut (.url) file of one link (the default).
#ifndef FAVLINK_SHORTCUT_MAKE_URL_H_
#define FAVLINK_SHORTCUT_MAKE_URL_H_

#include "shortcut/options.h"
#include "shortcut/url_steps.h"

/// Writes the .url file of one link (write_url_file gives its bytes) into
/// o.outdir as o.name_prefix + cleaned caption + ".url", an underscore put
/// between the two when the name is a device name, or when the whole file
/// name is one as Windows reads it (the prefix co and the name n give
/// co_n.url). A URL not starting "http:" or "ftp:" is joined to
/// o.url_prefix, or passed over when that is empty. The caption is changed in
/// place. An existing file is never opened or changed (kThere); kStop when
/// the file could not be created, written or closed.
///   caption "a/b:c", URL "a.html", prefix "dir/" -> file "a!b;c.url" holding
///   "[InternetShortcut]\r\nURL=dir/a.html\r\n" (36 bytes)
UrlResult make_url(const Link& link, const ShortcutOptions& o);

#endif  // FAVLINK_SHORTCUT_MAKE_URL_H_
