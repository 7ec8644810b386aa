// The few things that differ between the POSIX and the Windows build. Every
// other file is the same on both; platform code lives in the -posix and
// -win32 source files that CMake picks.
#ifndef FAVLINK_SUPPORT_PORT_H_
#define FAVLINK_SUPPORT_PORT_H_

#if defined(_WIN32)
// Joins the output folder and a file name.
inline constexpr char kPathSep = '\\';
// Line end written into a .url file: the file is a text-mode stream, so the
// C runtime stores "\n" as CR LF.
inline constexpr const char* kUrlNewline = "\n";
// File names may be longer than the byte limit of a POSIX name component.
inline constexpr bool kLimitNameLength = false;
// The file system takes "A.url" and "a.url" for one name.
inline constexpr bool kFoldNameCase = true;
// A text file ends at its first Ctrl-Z (0x1A), as the C runtime's text mode
// reads it.
inline constexpr bool kCtrlZEndsText = true;
// -x: replaces argv[1..] with the UTF-8 form of the wide command line, so
// that names outside the ANSI code page arrive whole (the new texts live to
// the end of the process), and from here on opens, creates and tests every
// path as UTF-8, by its UTF-16 name (wide-win32.cc).
void use_utf8_arguments(int argc, char** argv);
#else
inline constexpr char kPathSep = '/';
// POSIX streams do not translate: the CR of the .url file's CR LF is written
// explicitly, so the file bytes are the same on every platform.
inline constexpr const char* kUrlNewline = "\r\n";
// NAME_MAX of the usual POSIX file systems: a longer file name cannot be
// created and is passed over with a report instead.
inline constexpr bool kLimitNameLength = true;
inline constexpr bool kFoldNameCase = false;
inline constexpr bool kCtrlZEndsText = false;
// Arguments and paths are bytes already.
inline void use_utf8_arguments(int /*argc*/, char** /*argv*/) {}
#endif

// Longest file name component the shortcut writer creates where names are
// limited (POSIX), and the length -x cuts a name to on every platform: bytes
// of UTF-8, which a share of a POSIX server counts too, and never more
// UTF-16 units than NTFS takes.
inline constexpr int kNameMax = 255;

#if defined(__GNUC__)
#if defined(__MINGW32__)
#define FAVLINK_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))
#else
#define FAVLINK_PRINTF(f, a) __attribute__((format(printf, f, a)))
#endif
#else
#define FAVLINK_PRINTF(f, a)
#endif

#endif  // FAVLINK_SUPPORT_PORT_H_
