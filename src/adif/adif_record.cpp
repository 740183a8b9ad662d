#include "adif/adif_record.h"

#include <cstdio>

#include "adif/adif_band.h"
#include "adif/adif_mode.h"

namespace {

using namespace std::chrono;

constexpr std::int64_t kHzPerMHz = 1'000'000;

std::string Field(std::string_view name, std::string_view value) {
  std::string field = "<";
  field.append(name).append(":").append(std::to_string(value.size())).append(">").append(value);
  return field;
}

// A record's fields are separated by a space.
void AddField(std::string& record, std::string_view name, std::string_view value) {
  if (!value.empty()) record.append(Field(name, value)).append(" ");
}

// Calendar arithmetic only: the times are UTC already, and going through the
// local time zone would move them.
struct UtcText {
  std::string Date;  // YYYYMMDD
  std::string Time;  // HHMMSS
};

UtcText UtcTextOf(UtcTime when) {
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

// Whole hertz as MHz with six decimals: exact, with no floating point.
std::string MegahertzText(std::int64_t hz) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(hz / kHzPerMHz),
                static_cast<long long>(hz % kHzPerMHz));
  return text;
}

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// ADIF's Number without a sign, which is all a power can be: "100", "5.5".
bool IsUnsignedNumber(std::string_view text) {
  const auto point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  return whole.size() + fraction.size() > 0 && AllDigits(whole) && AllDigits(fraction);
}

std::int64_t ValueOf(std::string_view digits) {
  std::int64_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return value;
}

// FREQ in MHz back to hertz, rounded to the nearest hertz when it has more
// than six decimals.
std::optional<std::int64_t> HertzOf(std::string_view mhz) {
  // Twelve digits of MHz are far above every band and cannot overflow.
  const auto point = mhz.find('.');
  const std::string_view whole = mhz.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : mhz.substr(point + 1);
  if (!IsUnsignedNumber(mhz) || whole.size() > 12) return std::nullopt;
  std::int64_t hz = ValueOf(whole) * kHzPerMHz;
  std::int64_t scale = kHzPerMHz / 10;
  for (std::size_t i = 0; i < fraction.size() && scale > 0; ++i, scale /= 10) hz += (fraction[i] - '0') * scale;
  if (fraction.size() > 6 && fraction[6] >= '5') ++hz;
  return hz;
}

std::optional<sys_days> DateOf(std::string_view text) {
  if (text.size() != 8 || !AllDigits(text)) return std::nullopt;
  const year_month_day date{year{static_cast<int>(ValueOf(text.substr(0, 4)))},
                            month{static_cast<unsigned>(ValueOf(text.substr(4, 2)))},
                            day{static_cast<unsigned>(ValueOf(text.substr(6, 2)))}};
  if (!date.ok()) return std::nullopt;
  return sys_days{date};
}

std::optional<seconds> TimeOfDayOf(std::string_view text) {
  if ((text.size() != 4 && text.size() != 6) || !AllDigits(text)) return std::nullopt;
  const std::int64_t h = ValueOf(text.substr(0, 2));
  const std::int64_t m = ValueOf(text.substr(2, 2));
  const std::int64_t s = text.size() == 6 ? ValueOf(text.substr(4, 2)) : 0;
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return hours{h} + minutes{m} + seconds{s};
}

std::string FieldOf(const AdifFields& record, const std::string& name) {
  const auto found = record.find(name);
  return found == record.end() ? std::string() : found->second;
}

}  // namespace

std::string AdifHeader(std::string_view program_id) {
  return std::string(program_id) + " ADIF log\n" + Field("ADIF_VER", "3.1.4") + "\n" + Field("PROGRAMID", program_id) +
         "\n<EOH>\n";
}

std::string AdifRecord(const LoggedContact& contact) {
  const UtcText on = UtcTextOf(contact.TimeOn);
  const UtcText off = UtcTextOf(contact.TimeOff);
  const AdifMode mode = AdifModeOf(contact.Mode);
  std::string comment = contact.Comments;
  if (mode.TextInComment) comment = comment.empty() ? contact.Mode : comment + " (" + contact.Mode + ")";

  std::string record;
  AddField(record, "CALL", contact.Call);
  AddField(record, "QSO_DATE", on.Date);
  AddField(record, "TIME_ON", on.Time);
  AddField(record, "QSO_DATE_OFF", off.Date);
  AddField(record, "TIME_OFF", off.Time);
  if (contact.FrequencyHz > 0) {
    AddField(record, "FREQ", MegahertzText(contact.FrequencyHz));
    AddField(record, "BAND", AdifBand(contact.FrequencyHz));
  }
  AddField(record, "MODE", mode.Mode);
  AddField(record, "SUBMODE", mode.Submode);
  AddField(record, "RST_SENT", contact.RptSent);
  AddField(record, "RST_RCVD", contact.RptRcvd);
  AddField(record, "GRIDSQUARE", contact.Grid);
  AddField(record, "NAME", contact.Name);
  AddField(record, "COMMENT", comment);
  if (IsUnsignedNumber(contact.TxPower)) AddField(record, "TX_PWR", contact.TxPower);
  AddField(record, "OPERATOR", contact.OperatorCall);
  AddField(record, "STATION_CALLSIGN", contact.MyCall);
  AddField(record, "MY_GRIDSQUARE", contact.MyGrid);
  return record + "<EOR>\n";
}

std::optional<LoggedContact> ContactFromAdif(const AdifFields& record, std::string& reason) {
  LoggedContact contact;
  contact.Call = FieldOf(record, "CALL");
  if (contact.Call.empty()) {
    reason = "no CALL";
    return std::nullopt;
  }

  const auto on_date = DateOf(FieldOf(record, "QSO_DATE"));
  const auto on_time = TimeOfDayOf(FieldOf(record, "TIME_ON"));
  if (!on_date || !on_time) {
    reason = "no QSO_DATE and TIME_ON to read (YYYYMMDD, HHMMSS)";
    return std::nullopt;
  }
  contact.TimeOn = *on_date + *on_time;
  contact.TimeOff = contact.TimeOn;
  if (const std::string time_off = FieldOf(record, "TIME_OFF"); !time_off.empty()) {
    const std::string date_off = FieldOf(record, "QSO_DATE_OFF");
    const auto off_date = date_off.empty() ? on_date : DateOf(date_off);
    const auto off_time = TimeOfDayOf(time_off);
    if (!off_date || !off_time) {
      reason = "QSO_DATE_OFF or TIME_OFF cannot be read (YYYYMMDD, HHMMSS)";
      return std::nullopt;
    }
    contact.TimeOff = *off_date + *off_time;
    if (date_off.empty() && contact.TimeOff < contact.TimeOn) contact.TimeOff += days{1};
  }

  if (const std::string freq = FieldOf(record, "FREQ"); !freq.empty()) {
    const auto hz = HertzOf(freq);
    if (!hz) {
      reason = "FREQ \"" + freq + "\" is not a frequency in MHz";
      return std::nullopt;
    }
    contact.FrequencyHz = *hz;
  }

  const std::string mode = FieldOf(record, "MODE");
  contact.Mode = JtdxModeOf(mode, FieldOf(record, "SUBMODE"));
  contact.Comments = FieldOf(record, "COMMENT");
  if (contact.Mode.empty() && mode == "MFSK") {
    // The mode's text is in COMMENT, alone or after the comments in brackets.
    std::string& comment = contact.Comments;
    const auto open = comment.rfind(" (");
    if (comment.ends_with(')') && open != std::string::npos) {
      contact.Mode = comment.substr(open + 2, comment.size() - open - 3);
      comment.erase(open);
    } else {
      contact.Mode = std::move(comment);
      comment.clear();
    }
  }

  contact.Grid = FieldOf(record, "GRIDSQUARE");
  contact.RptSent = FieldOf(record, "RST_SENT");
  contact.RptRcvd = FieldOf(record, "RST_RCVD");
  contact.TxPower = FieldOf(record, "TX_PWR");
  contact.Name = FieldOf(record, "NAME");
  contact.OperatorCall = FieldOf(record, "OPERATOR");
  contact.MyCall = FieldOf(record, "STATION_CALLSIGN");
  contact.MyGrid = FieldOf(record, "MY_GRIDSQUARE");
  return contact;
}
