#include <gtest/gtest.h>

#include "link/endpoint.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// No socket can be made: on POSIX the process may open no more descriptors;
// on Windows the sockets library was never started in the child process.
void OpenWithoutAnySocket() {
#ifdef __SANITIZE_ADDRESS__
  __lsan_do_leak_check();  // now, while the leak checker can still open files
#endif
#ifndef _WIN32
  const rlimit few = {64, 64};
  setrlimit(RLIMIT_NOFILE, &few);
  while (dup(0) >= 0) {
  }
#endif
  BridgeState state;
  OpenEndpoint(state, nullptr);
}

TEST(EndpointExit, NoSocketEndsTheProcessWithCode11) {
  EXPECT_EXIT(OpenWithoutAnySocket(), ::testing::ExitedWithCode(kExitNoSocket), "");
}

}  // namespace
