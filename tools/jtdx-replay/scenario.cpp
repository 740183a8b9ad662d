#include "scenario.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>

#include "hex_text.h"
#include "jtdx_messages.h"
#include "scenario_values.h"

namespace {

constexpr std::uint32_t kU32Max = std::numeric_limits<std::uint32_t>::max();
constexpr std::int32_t kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kI32Max = std::numeric_limits<std::int32_t>::max();

[[noreturn]] void Refuse(const std::string& message) { throw std::invalid_argument(message); }

// One word of a line: "key=value", or a bare word without a value.
struct Token {
  std::string Key;
  std::string Value;
  bool HasValue = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string ReadQuoted(std::string_view line, std::size_t& pos) {
  std::string text;
  ++pos;  // the opening quote
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == '"') {
      if (pos < line.size() && !IsBlank(line[pos])) Refuse("a closing quote must end the value");
      return text;
    }
    if (c == '\\' && pos < line.size() && (line[pos] == '"' || line[pos] == '\\')) {
      text += line[pos++];
    } else {
      text += c;
    }
  }
  Refuse("missing closing quote");
}

// Splits a line into words; a word starting with '#' begins a comment.
std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (true) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size() || line[pos] == '#') return tokens;
    Token token;
    while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '=') token.Key += line[pos++];
    if (pos < line.size() && line[pos] == '=') {
      if (token.Key.empty()) Refuse("missing field name before '='");
      token.HasValue = true;
      ++pos;
      if (pos < line.size() && line[pos] == '"') {
        token.Value = ReadQuoted(line, pos);
      } else {
        while (pos < line.size() && !IsBlank(line[pos])) token.Value += line[pos++];
      }
    }
    tokens.push_back(std::move(token));
  }
}

// A field a message takes from a scenario line.
template <typename Message>
struct Field {
  std::string_view Key;
  void (*Set)(Message&, const std::string&);
};

template <typename Message>
void SetHeaderOrField(std::span<const Field<Message>> fields, std::string_view command, Message& message,
                      const Token& token) {
  if (token.Key == "id") {
    message.Header.Id = token.Value;
    return;
  }
  if (token.Key == "schema") {
    message.Header.Schema = static_cast<std::uint32_t>(ParseUnsignedValue(token.Value, kU32Max));
    return;
  }
  const auto field = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.Key == token.Key; });
  if (field == fields.end()) {
    std::string known = "id schema";
    for (const auto& f : fields) known.append(" ").append(f.Key);
    Refuse("unknown field '" + token.Key + "' for " + std::string(command) + " (known: " + known + ")");
  }
  try {
    field->Set(message, token.Value);
  } catch (const std::invalid_argument& e) {
    Refuse(token.Key + ": " + e.what());
  }
}

template <typename Message>
std::vector<std::uint8_t> Build(std::span<const Field<Message>> fields, std::string_view command,
                                std::span<const Token> tokens) {
  Message message;
  std::vector<std::string_view> seen;
  for (const Token& token : tokens) {
    if (!token.HasValue) Refuse("expected key=value, got '" + token.Key + "'");
    if (std::find(seen.begin(), seen.end(), token.Key) != seen.end()) {
      Refuse("field '" + token.Key + "' given twice");
    }
    seen.push_back(token.Key);
    SetHeaderOrField(fields, command, message, token);
  }
  return EncodeMessage(message);
}

std::int32_t I32(const std::string& v) { return static_cast<std::int32_t>(ParseSignedValue(v, kI32Min, kI32Max)); }
std::uint32_t U32(const std::string& v) { return static_cast<std::uint32_t>(ParseUnsignedValue(v, kU32Max)); }
std::uint64_t U64(const std::string& v) { return ParseUnsignedValue(v, std::numeric_limits<std::uint64_t>::max()); }

using HB = HeartbeatMessage;
constexpr Field<HB> kHeartbeatFields[] = {
    {"maxschema", [](HB& m, const std::string& v) { m.MaxSchema = U32(v); }},
    {"version", [](HB& m, const std::string& v) { m.Version = v; }},
};

using ST = StatusMessage;
constexpr Field<ST> kStatusFields[] = {
    {"dial", [](ST& m, const std::string& v) { m.DialFrequency = U64(v); }},
    {"mode", [](ST& m, const std::string& v) { m.Mode = v; }},
    {"dxcall", [](ST& m, const std::string& v) { m.DxCall = v; }},
    {"report", [](ST& m, const std::string& v) { m.Report = v; }},
    {"txmode", [](ST& m, const std::string& v) { m.TxMode = v; }},
    {"txenabled", [](ST& m, const std::string& v) { m.TxEnabled = ParseBoolValue(v); }},
    {"transmitting", [](ST& m, const std::string& v) { m.Transmitting = ParseBoolValue(v); }},
    {"decoding", [](ST& m, const std::string& v) { m.Decoding = ParseBoolValue(v); }},
    {"rxdf", [](ST& m, const std::string& v) { m.RxDf = I32(v); }},
    {"txdf", [](ST& m, const std::string& v) { m.TxDf = I32(v); }},
    {"decall", [](ST& m, const std::string& v) { m.DeCall = v; }},
    {"degrid", [](ST& m, const std::string& v) { m.DeGrid = v; }},
    {"dxgrid", [](ST& m, const std::string& v) { m.DxGrid = v; }},
    {"watchdog", [](ST& m, const std::string& v) { m.TxWatchdog = ParseBoolValue(v); }},
    {"submode", [](ST& m, const std::string& v) { m.SubMode = v; }},
    {"fast", [](ST& m, const std::string& v) { m.FastMode = ParseBoolValue(v); }},
    {"txfirst", [](ST& m, const std::string& v) { m.TxFirst = ParseBoolValue(v); }},
};

using DE = DecodeMessage;
constexpr Field<DE> kDecodeFields[] = {
    {"new", [](DE& m, const std::string& v) { m.New = ParseBoolValue(v); }},
    {"time", [](DE& m, const std::string& v) { m.Time = ParseTimeOfDayValue(v); }},
    {"snr", [](DE& m, const std::string& v) { m.Snr = I32(v); }},
    {"dt", [](DE& m, const std::string& v) { m.DeltaTime = ParseDoubleValue(v); }},
    {"df", [](DE& m, const std::string& v) { m.DeltaFrequency = U32(v); }},
    {"mode", [](DE& m, const std::string& v) { m.Mode = v; }},
    {"message", [](DE& m, const std::string& v) { m.Message = v; }},
    {"lowconfidence", [](DE& m, const std::string& v) { m.LowConfidence = ParseBoolValue(v); }},
    {"offair", [](DE& m, const std::string& v) { m.OffAir = ParseBoolValue(v); }},
};

using QS = QsoLoggedMessage;
constexpr Field<QS> kQsoFields[] = {
    {"call", [](QS& m, const std::string& v) { m.DxCall = v; }},
    {"grid", [](QS& m, const std::string& v) { m.DxGrid = v; }},
    {"freq", [](QS& m, const std::string& v) { m.TxFrequency = U64(v); }},
    {"mode", [](QS& m, const std::string& v) { m.Mode = v; }},
    {"sent", [](QS& m, const std::string& v) { m.RptSent = v; }},
    {"rcvd", [](QS& m, const std::string& v) { m.RptRcvd = v; }},
    {"power", [](QS& m, const std::string& v) { m.TxPower = v; }},
    {"comments", [](QS& m, const std::string& v) { m.Comments = v; }},
    {"name", [](QS& m, const std::string& v) { m.Name = v; }},
    {"date", [](QS& m, const std::string& v) { m.TimeOn.JulianDay = m.TimeOff.JulianDay = ParseDateValue(v); }},
    {"timeon", [](QS& m, const std::string& v) { m.TimeOn.MsOfDay = ParseTimeOfDayValue(v); }},
    {"timeoff", [](QS& m, const std::string& v) { m.TimeOff.MsOfDay = ParseTimeOfDayValue(v); }},
    {"operator", [](QS& m, const std::string& v) { m.OperatorCall = v; }},
    {"mycall", [](QS& m, const std::string& v) { m.MyCall = v; }},
    {"mygrid", [](QS& m, const std::string& v) { m.MyGrid = v; }},
};

// The text after the command word, for raw and wait.
std::string_view Rest(std::string_view line, std::string_view command) {
  std::string_view rest = line.substr(line.find(command) + command.size());
  const std::size_t comment = rest.find('#');
  if (comment != std::string_view::npos) rest = rest.substr(0, comment);
  return rest;
}

std::optional<ScenarioStep> ParseLine(std::string_view line) {
  const std::vector<Token> tokens = Tokenize(line);
  if (tokens.empty()) return std::nullopt;
  const Token& command = tokens.front();
  if (command.HasValue) Refuse("a line starts with a message name, not '" + command.Key + "='");
  const std::span<const Token> args = std::span(tokens).subspan(1);

  ScenarioStep step;
  const std::string& name = command.Key;
  if (name == "heartbeat") {
    step.Datagram = Build<HB>(kHeartbeatFields, name, args);
  } else if (name == "status") {
    step.Datagram = Build<ST>(kStatusFields, name, args);
  } else if (name == "decode") {
    step.Datagram = Build<DE>(kDecodeFields, name, args);
  } else if (name == "clear") {
    step.Datagram = Build<ClearMessage>({}, name, args);
  } else if (name == "qso") {
    step.Datagram = Build<QS>(kQsoFields, name, args);
  } else if (name == "close") {
    step.Datagram = Build<CloseMessage>({}, name, args);
  } else if (name == "raw") {
    const auto bytes = ParseHex(Rest(line, name));
    if (!bytes || bytes->empty()) Refuse("raw needs the datagram's bytes as hex digits, e.g. raw ADBCCBDA 00000002");
    step.Datagram = *bytes;
  } else if (name == "wait") {
    if (args.size() != 1 || args[0].HasValue) Refuse("wait needs one number of milliseconds, e.g. wait 300");
    step.What = ScenarioStep::Kind::Wait;
    try {
      step.WaitMs = static_cast<std::uint32_t>(ParseUnsignedValue(args[0].Key, 3'600'000));
    } catch (const std::invalid_argument& e) {
      Refuse(std::string("wait: ") + e.what());
    }
  } else {
    Refuse("unknown message '" + name + "' (known: heartbeat status decode clear qso close wait raw)");
  }
  return step;
}

}  // namespace

std::optional<std::vector<ScenarioStep>> ParseScenario(std::string_view text, std::string_view name,
                                                       std::string& reason) {
  std::vector<ScenarioStep> steps;
  std::size_t line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A bad value or line unwinds from deep in the parse to here, and no
    // further: the caller gets the reason.
    try {
      if (auto step = ParseLine(line)) steps.push_back(std::move(*step));
    } catch (const std::invalid_argument& e) {
      reason = std::string(name) + ":" + std::to_string(line_number) + ": " + e.what();
      return std::nullopt;
    }
  }
  return steps;
}
