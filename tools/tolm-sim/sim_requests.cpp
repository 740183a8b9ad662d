#include "sim_requests.h"

#include <cstdio>

#include "host/host_wire.h"
#include "sim_host.h"

std::string AnswerRequestLine(SimHost& host, std::string_view line) {
  std::string error;
  const auto request = ParseWireRequest(line, error);
  if (!request) {
    std::fprintf(stderr, "tolm-sim: bad request: %s\n", error.c_str());
    std::fflush(stderr);
    return ErrReply(error);
  }
  std::optional<std::string> refusal;
  switch (request->kind) {
    case WireRequest::Kind::ExecMacro: refusal = host.ExecMacro(request->text); break;
    case WireRequest::Kind::SetLogField: refusal = host.SetLogField(request->index, request->text); break;
    case WireRequest::Kind::TxFrequency: refusal = host.TxFrequency(request->hz); break;
    case WireRequest::Kind::RxFrequency: refusal = host.RxFrequency(request->hz); break;
  }
  return refusal ? ErrReply(*refusal) : OkReply();
}
