// The usage text.
#ifndef FAVLINK_APP_USAGE_H_
#define FAVLINK_APP_USAGE_H_

inline constexpr int kUsageLines = 26;
/// Lines 3 to 5 alone are the short usage of an empty command line.
inline constexpr int kShortUsageFirst = 3;
inline constexpr int kShortUsageLast = 5;

/// The 26 usage lines (Shift_JIS bytes, no line ends), then null.
extern const char* const usage[kUsageLines + 1];

#endif  // FAVLINK_APP_USAGE_H_
