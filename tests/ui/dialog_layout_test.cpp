// The terminal lays the dialogs out from its own copy of the Windows
// templates. This reads relvan.rc itself and holds the two copies to each
// other, so that a control moved, renamed or added in one alone fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ui/relvan_version.h"
#include "ui/notice_texts.h"
#include "ui/resource_ids.h"
#include "ui/tui/dialog_templates.h"
#include "ui/tui/utf8_text.h"

namespace {

std::vector<std::string> ReadLines(const char* path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// resource.h's #defines, and the ids windows.h gives the script.
std::map<std::string, int> ResourceIds() {
  std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}};
  const std::regex define(R"(^#define\s+(\w+)\s+\(?(-?\d+)\)?\s*$)");
  std::smatch match;
  for (const std::string& line : ReadLines(RELVAN_RESOURCE_H)) {
    if (std::regex_match(line, match, define)) ids[match[1]] = std::stoi(match[2]);
  }
  return ids;
}

int IdOf(const std::map<std::string, int>& ids, const std::string& name) {
  const auto found = ids.find(name);
  EXPECT_NE(found, ids.end()) << "relvan.rc names " << name << ", which resource.h does not define";
  return found == ids.end() ? 0 : found->second;
}

// A control's text as the resource compiler joins it: adjacent literals, and
// RELVAN_VERSION, the one macro the script writes into a text. An icon's
// "text" is a resource name, never shown.
std::string ControlText(const std::string& expression, bool icon) {
  if (icon) return "(icon)";
  const std::regex part(R"re("([^"]*)"|(\w+))re");
  std::string text;
  for (std::sregex_iterator it(expression.begin(), expression.end(), part), end; it != end; ++it) {
    const std::smatch& match = *it;
    if (match[1].matched) {
      text += match[1];
    } else {
      EXPECT_EQ(match[2], "RELVAN_VERSION") << "a macro relvan.rc uses in a text";
      text += RELVAN_VERSION;
    }
  }
  return text;
}

// The kind a window class and style make (BS_DEFPUSHBUTTON is 1, SS_ICON 3).
ControlKind KindOf(const std::string& window_class, unsigned long style) {
  if (window_class == "Edit") return ControlKind::Edit;
  if (window_class == "Button") return (style & 0xF) == 1 ? ControlKind::DefaultButton : ControlKind::Button;
  return (style & 0x1F) == 3 ? ControlKind::Icon : ControlKind::Label;
}

// One line per control, in template order, with everything both front ends
// must agree on; and the dialog itself on the first line.
using Layout = std::vector<std::string>;

std::string Describe(int id, ControlKind kind, int x, int y, int width, int height, const std::string& text) {
  const char* const kinds[] = {"label", "edit", "button", "default button", "icon"};
  return "id " + std::to_string(id) + " " + kinds[static_cast<int>(kind)] + " at " + std::to_string(x) + "," +
         std::to_string(y) + " size " + std::to_string(width) + "x" + std::to_string(height) + " \"" + text + "\"";
}

// The three DIALOGEX templates of relvan.rc by id.
std::map<int, Layout> ReadRcLayouts() {
  const std::map<std::string, int> ids = ResourceIds();
  const std::regex dialog(R"(^(\w+)\s+DIALOGEX\s+-?\d+\s*,\s*-?\d+\s*,\s*(\d+)\s*,\s*(\d+)\s*$)");
  const std::regex caption(R"re(^CAPTION\s+"([^"]*)"\s*$)re");
  const std::regex control(
      R"re(^\s*CONTROL\s+(.+?)\s*,\s*(\w+)\s*,\s*"(\w+)"\s*,\s*(0x[0-9A-Fa-f]+)\s*,\s*(-?\d+)\s*,\s*(-?\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*$)re");
  // Inside a template, any other line would be a control this reader misses.
  const std::regex other_template_line(R"(^(STYLE|EXSTYLE|FONT|BEGIN)\b.*|^\s*(//.*)?$)");
  std::map<int, Layout> layouts;
  Layout* current = nullptr;
  std::smatch match;
  for (const std::string& line : ReadLines(RELVAN_RC)) {
    if (std::regex_match(line, match, dialog)) {
      current = &layouts[IdOf(ids, match[1])];
      current->push_back("dialog " + match[2].str() + "x" + match[3].str());
    } else if (!current) {
      EXPECT_EQ(line.find("DIALOG"), std::string::npos) << "a template this reader does not understand: " << line;
    } else if (std::regex_match(line, match, caption)) {
      current->front() += " \"" + match[1].str() + "\"";
    } else if (std::regex_match(line, match, control)) {
      const ControlKind kind = KindOf(match[3], std::stoul(match[4], nullptr, 16));
      current->push_back(Describe(IdOf(ids, match[2]), kind, std::stoi(match[5]), std::stoi(match[6]),
                                  std::stoi(match[7]), std::stoi(match[8]),
                                  ControlText(match[1], kind == ControlKind::Icon)));
    } else if (line == "END") {
      current = nullptr;
    } else {
      EXPECT_TRUE(std::regex_match(line, other_template_line))
          << "a template line this reader does not understand: " << line;
    }
  }
  return layouts;
}

Layout TerminalLayout(int template_id) {
  const DialogTemplate& dialog = FindDialogTemplate(template_id);
  Layout layout{"dialog " + std::to_string(dialog.Width) + "x" + std::to_string(dialog.Height) + " \"" + dialog.Title +
                "\""};
  for (const ControlTemplate& c : dialog.Controls) {
    layout.push_back(
        Describe(c.Id, c.Kind, c.X, c.Y, c.Width, c.Height, c.Kind == ControlKind::Icon ? "(icon)" : c.Text));
  }
  return layout;
}

TEST(DialogLayout, TerminalTemplatesMatchTheWindowsResourcesControlForControl) {
  const std::map<int, Layout> rc = ReadRcLayouts();
  ASSERT_EQ(rc.size(), 3u) << "relvan.rc's dialog templates";
  for (const int id : {ids::kAboutTemplate, ids::kMainTemplate, ids::kSetupTemplate}) {
    SCOPED_TRACE(id);
    ASSERT_EQ(rc.count(id), 1u);
    EXPECT_EQ(TerminalLayout(id), rc.at(id));
  }
}

// Whatever an outage brings, no box needs more than twelve lines in the
// terminal: 400 contacts, a contact kept nowhere with long texts, and a path
// as long as a Windows user's.
TEST(MessageBoxes, EveryNoticeOfALongOutageFitsTwelveLinesUncut) {
  const std::string path = "C:\\Users\\Александра\\Documents\\Relvan\\Plugins\\Tolm_JTDX_unsaved.adi";
  const std::string reason = "ExecMacro: The remote procedure call failed and did not execute (0x800706BF)";
  OperatorNotice contact;
  contact.What = OperatorNotice::Kind::ContactNotSaved;
  contact.Contact.Call = "VP2E/K1ABC";
  contact.Contact.FrequencyHz = 10368101500;
  contact.Contact.Mode = "JT9+JT65";
  contact.Contact.RptSent = contact.Contact.RptRcvd = "-12";
  contact.Contact.Grid = "FN42ab";
  contact.Contact.Name = std::string(200, 'n');
  contact.Contact.Comments = std::string(500, 'c');
  contact.HostDetail = reason;
  contact.FileProblem = "No space left on device";
  std::vector<std::string> boxes{texts::MoreContactsMessage(std::vector<OperatorNotice>(400, contact), path)};
  using Miss = OperatorNotice::Miss;
  for (const auto why : {Miss::HostNotAnswering, Miss::SaveMayHaveRun, Miss::NotACallSign, Miss::ModeNotSettable}) {
    for (const bool kept : {true, false}) {
      contact.Why = why;
      contact.Kept = kept;
      boxes.push_back(texts::NoticeMessage(contact, path));
    }
  }
  for (const std::string& text : boxes) {
    EXPECT_LE(WrapUtf8(text, kMessageBoxColumns).size(), std::size_t{kMaxMessageLines}) << text;
  }
}

}  // namespace
