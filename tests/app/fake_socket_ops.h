#pragma once
#include "link/socket_ops.h"

// Socket operations that fail on request. Linked into a test program ahead
// of the link library, they take the place of the platform's own, so the
// failures no real socket can be made to show are reachable.
struct FakeSockets {
  static inline bool StartFails = false;
  static inline bool CreateFails = false;
  static inline bool NonBlockingFails = false;
  static inline BindResult Bind = BindResult::Bound;
  static inline int Open = 0;  // sockets created and not closed
};
