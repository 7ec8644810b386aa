// The one channel for messages: short usage, the -a question, every report.
#ifndef FAVLINK_DIAG_ERRMSG_H_
#define FAVLINK_DIAG_ERRMSG_H_

#include <cstdarg>

#include "support/port.h"

/// Room for message text in the result area of err_edit; the area has
/// kErrExtra more bytes for the end of the last conversion and the NUL.
inline constexpr int kErrText = 1024;
inline constexpr int kErrExtra = 100;

/// Writes a message on the (unbuffered) standard error stream; adds no line
/// end. A format holding no '%' (found with Strchr) is written untouched, so
/// its backslashes stay; otherwise the text is what err_edit makes of it.
///   errmsg("%s: not found\n", "a.url") writes "a.url: not found\n"
void errmsg(const char* fmt, ...) FAVLINK_PRINTF(1, 2);

/// As errmsg, for -x's reports of a path, which has no length limit there: a
/// %s is written whole however long, the text before it first, so no path
/// is dropped; the rest is as err_edit makes it.
void errmsg_whole(const char* fmt, ...) FAVLINK_PRINTF(1, 2);

/// Expands fmt with the arguments into a static area and returns it; the next
/// call overwrites it. Conversions: %c %d %x %f %s, no flags or widths; any
/// other "%c" pair is copied as it stands ("%%" gives two percent signs). A
/// backslash takes the next byte literally. The text stops growing once it
/// holds kErrText or more bytes; a %s that does not fit whole is dropped but
/// still takes its argument.
///   err_edit("[%s] 100\\%", ap with "x") -> "[x] 100%"
char* err_edit(const char* fmt, va_list ap);

#endif  // FAVLINK_DIAG_ERRMSG_H_
