#pragma once

// The socket failures the dialogs cannot carry on from by themselves. The
// application decides what they mean for the program: it ends at once when
// the sockets do not start or no socket can be made. A socket that would
// block ends nothing: ReportBlockingSocket says so on standard output and
// returns, and the dialog goes on without ever polling that socket.
class SocketFailures {
 public:
  virtual ~SocketFailures() = default;
  virtual void SocketsDidNotStart() = 0;
  virtual void NoSocket() = 0;
  virtual void ReportBlockingSocket() = 0;
};
