#pragma once

// The socket failures the dialogs cannot carry on from by themselves. The
// application decides what they mean for the program: it ends at once when
// the sockets do not start or no socket can be made, and says so on standard
// output when the socket would block, while the dialog goes on without ever
// polling it.
class SocketFailures {
 public:
  virtual ~SocketFailures() = default;
  virtual void SocketsDidNotStart() = 0;
  virtual void NoSocket() = 0;
  virtual void SocketStaysBlocking() = 0;
};
