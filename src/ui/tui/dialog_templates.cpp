#include "ui/tui/dialog_templates.h"

#include "ui/dialog_texts.h"
#include "ui/resource_ids.h"
#include "ui/tui/cell_layout.h"
#include "ui/tui/utf8_text.h"

namespace {

using K = ControlKind;

const DialogTemplate kMainDialog{
    texts::kMainTemplateTitle,
    175,
    111,
    {
        {ids::kOk, K::DefaultButton, 78, 79, 38, 14, texts::kFinishButton},
        {ids::kCallEdit, K::Edit, 17, 25, 60, 14, ""},
        {ids::kRptSentEdit, K::Edit, 82, 25, 32, 14, ""},
        {ids::kRptRcvdEdit, K::Edit, 123, 25, 33, 14, ""},
        {-1, K::Label, 42, 14, 29, 10, "Call"},
        {-1, K::Label, 83, 15, 29, 10, "Rpt Send"},
        {-1, K::Label, 125, 15, 29, 10, "Rpt Rcvd"},
        {-1, K::Label, 134, 44, 29, 10, "Grid"},
        {ids::kGridEdit, K::Edit, 124, 54, 33, 14, ""},
        {ids::kModeEdit, K::Edit, 77, 54, 39, 14, ""},
        {-1, K::Label, 88, 44, 29, 10, "Mode"},
        {ids::kFreqEdit, K::Edit, 33, 54, 39, 14, ""},
        {-1, K::Label, 46, 43, 29, 10, "Freq"},
        {ids::kSetupButton, K::Button, 124, 78, 35, 14, texts::kSetupButton},
        {ids::kStatusLine, K::Label, 6, 96, 163, 10, ""},
    },
};

const DialogTemplate kSetupDialog{
    texts::kSetupTitle,
    175,
    31,
    {
        {ids::kOk, K::DefaultButton, 129, 8, 34, 14, texts::kOkButton},
        {ids::kPortEdit, K::Edit, 88, 9, 30, 13, ""},
        {-1, K::Label, 3, 11, 75, 11, texts::kSetupPrompt},
    },
};

const DialogTemplate kAboutDialog{
    texts::kAboutTitle,
    170,
    62,
    {
        {-1, K::Icon, 14, 14, 21, 20, "(R)"},
        {-1, K::Label, 42, 26, 114, 8, texts::kAboutLine},
        {ids::kOk, K::DefaultButton, 113, 41, 50, 14, texts::kOkButton},
    },
};

const DialogTemplate kUnknownDialog{"Relvan", 120, 24, {}};

}  // namespace

const DialogTemplate& FindDialogTemplate(int template_id) {
  switch (template_id) {
    case ids::kMainTemplate: return kMainDialog;
    case ids::kSetupTemplate: return kSetupDialog;
    case ids::kAboutTemplate: return kAboutDialog;
    default: return kUnknownDialog;
  }
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
  DialogTemplate box{"Relvan", cols * kDuPerColumn, 0, {}};
  int row = 1;
  for (const auto& line : lines) {
    box.Controls.push_back(
        {-1, K::Label, kMarginCols * kDuPerColumn, row * kDuPerRow, Utf8Columns(line) * kDuPerColumn, kDuPerRow, line});
    ++row;
  }
  ++row;
  box.Controls.insert(box.Controls.begin(), {ids::kOk, K::DefaultButton, (cols - button_cols) / 2 * kDuPerColumn,
                                             row * kDuPerRow, button_cols * kDuPerColumn, kDuPerRow, "OK"});
  box.Height = (row + 2) * kDuPerRow;
  return box;
}
