#include "ui/tui/dialog_templates.h"

#include "ui/relvan_version.h"
#include "ui/resource_ids.h"
#include "ui/tui/cell_layout.h"
#include "ui/tui/terminal_texts.h"
#include "ui/tui/utf8_text.h"

namespace {

struct ResourceDialog {
  int Id;
  DialogTemplate Template;
};

// relvan.rc's DIALOGEX templates.
const ResourceDialog kResourceDialogs[] = {
#include "rc_dialog_templates.inc"
};

const DialogTemplate kUnknownDialog{texts::kMessageBoxTitle, 120, 24, {}};

}  // namespace

const DialogTemplate& FindDialogTemplate(int template_id) {
  for (const ResourceDialog& dialog : kResourceDialogs) {
    if (dialog.Id == template_id) return dialog.Template;
  }
  return kUnknownDialog;
}

DialogTemplate MessageBoxTemplate(const std::string& text, int max_text_width) {
  std::vector<std::string> lines = WrapUtf8(text, max_text_width);
  if (static_cast<int>(lines.size()) > kMaxMessageLines) {
    lines.resize(kMaxMessageLines);
    lines.back() = Utf8Head(lines.back(), std::max(0, max_text_width - 3)) + "...";
  }
  int widest = 0;
  for (const auto& line : lines) widest = std::max(widest, Utf8Columns(line));

  // A margin of two cells around the text, the button one row below it.
  constexpr int kMarginCols = 2;
  const int button_cols = 8;
  const int cols = std::max(widest, button_cols) + 2 * kMarginCols;
  DialogTemplate box{texts::kMessageBoxTitle, cols * kDuPerColumn, 0, {}};
  int row = 1;
  for (const auto& line : lines) {
    box.Controls.push_back({-1, ControlKind::Label, kMarginCols * kDuPerColumn, row * kDuPerRow,
                            Utf8Columns(line) * kDuPerColumn, kDuPerRow, line});
    ++row;
  }
  ++row;
  box.Controls.insert(box.Controls.begin(),
                      {ids::kOk, ControlKind::DefaultButton, (cols - button_cols) / 2 * kDuPerColumn, row * kDuPerRow,
                       button_cols * kDuPerColumn, kDuPerRow, texts::kMessageBoxOk});
  box.Height = (row + 2) * kDuPerRow;
  return box;
}
