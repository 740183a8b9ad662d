#include "bridge/host_session.h"

#include <chrono>
#include <utility>

#include "bridge/message_handlers.h"

void HostSession::Saved(std::string_view call, Clock::TimePoint now) {
  using std::chrono::days;
  if (std::chrono::floor<days>(now) != std::chrono::floor<days>(last_saved_at_)) saved_count_ = 0;
  last_saved_call_ = call;
  last_saved_at_ = now;
  ++saved_count_;
}

void HostSession::LetGoIfGone(HostLink& host, Clock::TimePoint now) {
  if (host.IsAttached() && !Waiting(now) && !host.StillThere()) host.DetachHost();
}

void HostSession::LetGo(HostLink& host, const HostCallError& error, Clock::TimePoint now, Notices& notices) {
  host.DetachHost();
  failed_at_ = now;
  failure_ = error.what();
  if (std::exchange(outage_, true)) return;
  OperatorNotice notice;
  notice.What = OperatorNotice::Kind::HostStopped;
  notice.HostDetail = error.what();
  notices.push_back(std::move(notice));
}

void HostSession::EmptyEntryLeftBehind(HostLink& host) {
  if (!entry_to_empty_) return;
  EmptyLogEntry(host);
  entry_to_empty_ = false;
}
