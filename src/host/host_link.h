#pragma once
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A host call that failed: the host refused it or could not be reached.
// what() is "Operation: reason", the detail an operator's message ends with.
// MayHaveRun() says whether the host may have carried the call out all the
// same: the request reached it and its answer was lost (a time-out, a stream
// broken after the request went out, a lost RPC connection, a cancelled
// call). A refused call (an ERR answer, an exception in the host, a call the
// host rejected) and one that never left the bridge did not run.
class HostCallError : public std::runtime_error {
 public:
  enum class Outcome { Refused, MayHaveRun };

  HostCallError(std::string_view operation, const std::string& reason, Outcome outcome = Outcome::Refused)
      : std::runtime_error(std::string(operation) + ": " + reason), outcome_(outcome) {}

  bool MayHaveRun() const { return outcome_ == Outcome::MayHaveRun; }

 private:
  Outcome outcome_;
};

// The fields of the host's log entry that the bridge fills, by the index the
// host gives them.
enum class LogField : std::int32_t {
  Call = 0,
  Name = 1,
  RptRcvd = 2,
  Comments = 4,
  RptSent = 5,
  Grid = 10,
};

// The bridge's whole interface to the logging program. Detached, every
// operation returns at once without effect; attached, each call returns when
// the host has handled it and throws HostCallError when it failed. Texts are
// the bridge's own byte strings (UTF-8 as JTDX sent them).
class HostLink {
 public:
  virtual ~HostLink() = default;

  // One attempt to reach the running host; no effect once attached.
  virtual void AttachHost() = 0;
  virtual bool IsAttached() const = 0;
  // Lets go of the connection after a call failed: the host may have ended
  // or restarted, and the next attempt attaches afresh.
  virtual void DetachHost() = 0;
  // The tick calls this before its host work: a binding that limits how long
  // one tick may wait on a busy host starts counting afresh.
  virtual void StartTickWork() {}
  // Whether the host attached is still there, asked without a call of its
  // own and without waiting on a busy or hung host: false only when it is
  // known to have gone (its process ended), and always when detached.
  virtual bool StillThere() { return IsAttached(); }
  // The end of the program: every call from now on is given up `left` from
  // now at the latest, the call under way then included, however long it
  // would wait otherwise (a call given up so may have run); a call made
  // after that fails at once, without reaching the host.
  virtual void LimitCalls(std::chrono::milliseconds left) { (void)left; }

  virtual void ExecMacro(std::string_view text) = 0;
  virtual void SetLogField(LogField field, std::string_view text) = 0;
  virtual void TxFrequency(double hz) = 0;
  virtual void RxFrequency(double hz) = 0;
};
