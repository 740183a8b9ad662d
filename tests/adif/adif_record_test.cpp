#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adif/adif_reader.h"
#include "adif/adif_record.h"

namespace {

using namespace std::chrono;

LoggedContact FullContact() {
  LoggedContact contact;
  contact.Call = "K1ABC";
  contact.Grid = "FN42";
  contact.FrequencyHz = 14075500;
  contact.Mode = "FT8";
  contact.RptSent = "-12";
  contact.RptRcvd = "-05";
  contact.TxPower = "100";
  contact.Comments = "tnx 73";
  contact.Name = "J\xC3\xB6rg";  // 5 bytes
  contact.TimeOn = sys_days{year{2024} / June / 1} + 18h + 29min + 45s + 500ms;
  contact.TimeOff = sys_days{year{2024} / June / 1} + 18h + 30min + 15s;
  contact.OperatorCall = "K2OP";
  contact.MyCall = "K2DEF";
  contact.MyGrid = "FN31";
  return contact;
}

// The record's fields as an importer reads them.
AdifFields FieldsOf(const LoggedContact& contact) {
  AdifFile file;
  std::string reason;
  EXPECT_TRUE(ParseAdif(AdifRecord(contact), file, reason)) << reason;
  return file.Records.size() == 1 ? file.Records[0] : AdifFields();
}

std::string FieldOr(const AdifFields& fields, const std::string& name) {
  return fields.count(name) != 0 ? fields.at(name) : "(none)";
}

TEST(AdifRecord, FullContactIsOneLineOfItsFields) {
  EXPECT_EQ(AdifRecord(FullContact()),
            "<CALL:5>K1ABC <QSO_DATE:8>20240601 <TIME_ON:6>182945 <QSO_DATE_OFF:8>20240601 <TIME_OFF:6>183015 "
            "<FREQ:9>14.075500 <BAND:3>20m <MODE:3>FT8 <RST_SENT:3>-12 <RST_RCVD:3>-05 <GRIDSQUARE:4>FN42 "
            "<NAME:5>J\xC3\xB6rg <COMMENT:6>tnx 73 <TX_PWR:3>100 <OPERATOR:4>K2OP <STATION_CALLSIGN:5>K2DEF "
            "<MY_GRIDSQUARE:4>FN31 <EOR>\n");
  EXPECT_EQ(AdifHeader("Relvan"), "Relvan ADIF log\n<ADIF_VER:5>3.1.4\n<PROGRAMID:6>Relvan\n<EOH>\n");
}

TEST(AdifRecord, ModesAsAdifNamesThem) {
  // mode, comments -> MODE / SUBMODE / COMMENT
  const std::pair<std::pair<std::string, std::string>, std::string> cases[] = {
      {{"FT4", ""}, "MFSK/FT4/(none)"},
      {{"WSPR-2", ""}, "WSPR/(none)/(none)"},
      {{"JT9+JT65", "tnx"}, "MFSK/(none)/tnx (JT9+JT65)"},
      {{"Q65", ""}, "MFSK/Q65/(none)"},
      {{"FST4W", ""}, "MFSK/FST4W/(none)"},
      {{"MSK144", ""}, "MSK144/(none)/(none)"},
      {{"ISCAT", ""}, "MFSK/(none)/ISCAT"},
      {{"", "tnx"}, "(none)/(none)/tnx"},
  };
  for (const auto& [given, expected] : cases) {
    LoggedContact contact = FullContact();
    std::tie(contact.Mode, contact.Comments) = given;
    const AdifFields fields = FieldsOf(contact);
    EXPECT_EQ(FieldOr(fields, "MODE") + "/" + FieldOr(fields, "SUBMODE") + "/" + FieldOr(fields, "COMMENT"), expected)
        << '"' << given.first << '"';
  }
}

TEST(AdifRecord, BandFromTheFrequencyAndPowerOnlyAsANumber) {
  const std::pair<std::int64_t, std::string> cases[] = {
      {14000000, "14.000000 20m"},    {14350000, "14.350000 20m"},       {13999999, "13.999999 (none)"},
      {14350001, "14.350001 (none)"}, {54000000, "54.000000 6m"},        {54000001, "54.000001 5m"},
      {1, "0.000001 (none)"},         {10368101500, "10368.101500 3cm"}, {0, "(none) (none)"},
  };
  for (const auto& [hz, expected] : cases) {
    LoggedContact contact = FullContact();
    contact.FrequencyHz = hz;
    const AdifFields fields = FieldsOf(contact);
    EXPECT_EQ(FieldOr(fields, "FREQ") + " " + FieldOr(fields, "BAND"), expected) << hz;
  }
  for (const std::string power : {"100", "5.5", "100 W", "", ".", "-5", "5.5.5"}) {
    LoggedContact contact = FullContact();
    contact.TxPower = power;
    const bool number = power == "100" || power == "5.5";
    EXPECT_EQ(FieldOr(FieldsOf(contact), "TX_PWR"), number ? power : "(none)") << '"' << power << '"';
  }
}

TEST(AdifRecord, ContactComesBackFromTheRecordAcrossMidnight) {
  LoggedContact contact = FullContact();
  contact.Name = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";
  contact.Comments = "tnx (73)";
  contact.TxPower = "5";
  contact.FrequencyHz = 10368101500;
  contact.TimeOn = sys_days{year{2023} / December / 31} + 23h + 59min + 30s;
  contact.TimeOff = sys_days{year{2024} / January / 1} + 1min + 15s + 999ms;
  for (const std::string mode : {"FT8", "FT4", "WSPR-2", "JT9+JT65", "T10", "Q65"}) {
    contact.Mode = mode;
    AdifFile file;
    std::string reason;
    ASSERT_TRUE(ParseAdif(AdifHeader("test") + AdifRecord(contact), file, reason)) << reason;
    ASSERT_EQ(file.Records.size(), 1u);
    const auto back = ContactFromAdif(file.Records[0], reason);
    ASSERT_TRUE(back.has_value()) << reason;
    EXPECT_EQ(back->Mode, mode);
    EXPECT_EQ(back->Comments, "tnx (73)") << mode;
    EXPECT_EQ(back->TimeOn, contact.TimeOn);
    EXPECT_EQ(back->TimeOff, floor<seconds>(contact.TimeOff)) << "ADIF keeps whole seconds";
    EXPECT_EQ(back->FrequencyHz, 10368101500);
    EXPECT_EQ(AdifRecord(*back), AdifRecord(contact)) << "every other field as it was";
  }
}

TEST(AdifRecord, RecordsThatAreNoContactAndRecordsOfOtherLoggers) {
  const AdifFields good{{"CALL", "K1ABC"}, {"QSO_DATE", "20240309"}, {"TIME_ON", "2359"}, {"TIME_OFF", "0001"}};
  std::string reason;
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"CALL", ""}, {"QSO_DATE", "20240230"}, {"TIME_ON", "2460"}, {"TIME_OFF", "12345"}, {"FREQ", "14,074"}}) {
    AdifFields bad = good;
    bad[name] = value;
    reason.clear();
    EXPECT_FALSE(ContactFromAdif(bad, reason).has_value()) << name << " " << value;
    EXPECT_FALSE(reason.empty()) << name;
  }
  // Four-digit times, and without QSO_DATE_OFF an end before the start is on the next day.
  const auto other = ContactFromAdif(good, reason);
  ASSERT_TRUE(other.has_value()) << reason;
  EXPECT_EQ(other->TimeOff - other->TimeOn, 2min);
}

TEST(AdifReader, MalformedTextIsRefusedWithTheReason) {
  AdifFile file;
  std::string reason;
  for (const std::string text : {"<CALL:5>K1ABC <EOR", "<CALL>K1ABC <EOR>", "<CALL:x>K1ABC <EOR>", "<CALL:9>K1ABC",
                                 "<CALL:1>K <CALL:1>K <EOR>", "<CALL:1>K <EOR> <NAME:3>Joe"}) {
    reason.clear();
    EXPECT_FALSE(ParseAdif(text, file, reason)) << text;
    EXPECT_FALSE(reason.empty()) << text;
  }
}

}  // namespace
