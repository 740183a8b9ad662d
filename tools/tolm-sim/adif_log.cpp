#include "adif_log.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// ADIF times are UTC: QSO_DATE YYYYMMDD and TIME_ON/TIME_OFF HHMMSS.
struct UtcText {
  std::string Date;
  std::string Time;
};

UtcText Utc(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto day = floor<days>(when);
  const year_month_day date{day};
  const hh_mm_ss time{floor<seconds>(when - day)};
  char date_text[16];
  char time_text[16];
  std::snprintf(date_text, sizeof date_text, "%04d%02u%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  std::snprintf(time_text, sizeof time_text, "%02d%02d%02d", static_cast<int>(time.hours().count()),
                static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
  return {date_text, time_text};
}

// FREQ is in MHz; six decimals keep every hertz (14075500 -> 14.075500).
std::string Megahertz(double hz) {
  const long long whole_hz = std::llround(hz);
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%06lld", whole_hz / 1000000, whole_hz % 1000000);
  return text;
}

}  // namespace

AdifMode AdifModeOf(std::string_view mode) {
  // FT8, JT65 and JT9 are modes of their own in ADIF; FT4 is a submode of
  // MFSK. T10 and the JT9+JT65 dual mode have no ADIF name at all, so they
  // are logged as plain MFSK, the family both belong to.
  if (mode == "FT8") return {"FT8", ""};
  if (mode == "FT4") return {"MFSK", "FT4"};
  if (mode == "JT65") return {"JT65", ""};
  if (mode == "JT9") return {"JT9", ""};
  if (mode == "T10" || mode == "JT9JT65") return {"MFSK", ""};
  if (mode == "CW") return {"CW", ""};
  if (mode == "SSB") return {"SSB", ""};
  return {"", ""};
}

std::string AdifField(std::string_view name, std::string_view value) {
  if (value.empty()) return {};
  std::string field = "<";
  field.append(name).append(":").append(std::to_string(value.size())).append(">").append(value).append(" ");
  return field;
}

std::string AdifHeader() {
  return "tolm-sim ADIF log\n<ADIF_VER:5>3.1.4\n<PROGRAMID:8>tolm-sim\n<EOH>\n";
}

std::string AdifRecord(const AdifQso& qso) {
  const UtcText on = Utc(qso.TimeOn);
  const UtcText off = Utc(qso.TimeOff);
  const AdifMode mode = AdifModeOf(qso.Mode);
  std::string record = AdifField("CALL", qso.Call);
  record += AdifField("QSO_DATE", on.Date);
  record += AdifField("TIME_ON", on.Time);
  // A contact across midnight UTC needs the closing date to read TIME_OFF.
  if (off.Date != on.Date) record += AdifField("QSO_DATE_OFF", off.Date);
  record += AdifField("TIME_OFF", off.Time);
  if (qso.TxHz > 0) record += AdifField("FREQ", Megahertz(qso.TxHz));
  record += AdifField("MODE", mode.Mode);
  record += AdifField("SUBMODE", mode.Submode);
  record += AdifField("RST_SENT", qso.RptSent);
  record += AdifField("RST_RCVD", qso.RptRcvd);
  record += AdifField("GRIDSQUARE", qso.Grid);
  record += AdifField("NAME", qso.Name);
  record += AdifField("COMMENT", qso.Comment);
  return record + "<EOR>\n";
}

std::string AppendAdifRecord(const std::string& path, const AdifQso& qso) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  const bool is_new = error || size == 0;
  std::string text = is_new ? AdifHeader() : std::string();
  text += AdifRecord(qso);

  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file) return "cannot open the ADIF log " + path;
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.flush();
  if (!file) return "cannot write the ADIF log " + path;
  return {};
}
