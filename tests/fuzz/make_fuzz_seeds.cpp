// Writes the fuzz target's seed corpus into a directory: realistic JTDX
// sessions made with the encoder, one file each.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "jtdx_messages.h"
#include "tick_fuzz_input.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
    return 2;
  }
  using Bytes = std::vector<std::uint8_t>;
  StatusMessage calling;
  calling.DxCall = "K1ABC";
  calling.Report = "-5";
  calling.RxDf = 1200;
  StatusMessage mixed = calling;
  mixed.Mode = "JT9+JT65";
  mixed.TxMode = "JT65";
  StatusMessage cw = calling;
  cw.Mode = "CW";
  cw.DialFrequency = 10368100000;
  QsoLoggedMessage qso;
  qso.Name = "Bob";
  qso.Comments = std::string(300, 'c');

  const std::vector<std::pair<std::uint8_t, std::vector<Bytes>>> seeds = {
      {0x01, {EncodeMessage(HeartbeatMessage()), EncodeMessage(calling)}},
      {0x02,
       {EncodeMessage(calling), EncodeMessage(DecodeMessage()), EncodeMessage(qso), EncodeMessage(ClearMessage())}},
      {0x03, {EncodeMessage(mixed), EncodeMessage(cw), EncodeMessage(calling)}},
      {0x05, {EncodeMessage(qso), EncodeMessage(calling), EncodeMessage(qso)}},
      {0x21, {EncodeMessage(calling), EncodeMessage(qso)}},
      {0x01, {EncodeMessage(calling), EncodeMessage(CloseMessage())}},
      {0x01, {{0x01, 0x02, 0x03, 0xDA, 0x00}, {0xAD, 0xBC, 0xCB, 0xDA}}},
  };
  int n = 0;
  for (const auto& [control, datagrams] : seeds) {
    const Bytes bytes = EncodeTickFuzzInput(control, datagrams);
    const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(++n);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
      std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
