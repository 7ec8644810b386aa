// The one retry of a POSIX call that a signal interrupted.
#ifndef FAVLINK_SUPPORT_EINTR_POSIX_H_
#define FAVLINK_SUPPORT_EINTR_POSIX_H_

#include <cerrno>

/// Calls f until it succeeds or fails for another reason than an interrupt
/// (a negative result with errno EINTR), and returns its last result, errno
/// as f left it: a signal handled meanwhile never makes an open or a read
/// fail.
template <typename F>
auto retry_eintr(F f) {
  auto r = f();
  while (r < 0 && errno == EINTR) r = f();
  return r;
}

#endif  // FAVLINK_SUPPORT_EINTR_POSIX_H_
