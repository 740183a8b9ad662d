#pragma once
#include "ui/tui/dialog_templates.h"

// Dialog units to character cells. A column is four dialog units wide, as a
// character of the dialogs' font is. A row is twelve units high rather than
// the font's eight: every control, edits and buttons of 14 units included,
// takes one row, and at twelve units per row each label lands on the row
// just above its edit, the way the dialogs show them.
inline constexpr int kDuPerColumn = 4;
inline constexpr int kDuPerRow = 12;

// A control's cells relative to its dialog's client area; one row high.
struct CellRect {
  int Row = 0;
  int Col = 0;
  int Width = 0;
  bool Contains(int row, int col) const { return row == Row && col >= Col && col < Col + Width; }
};

struct CellSize {
  int Rows = 0;
  int Cols = 0;
};

// The row holds the control's vertical centre; the left and right edges are
// rounded to the nearest column.
CellRect ControlCells(const ControlTemplate& control);

// The client area of a dialog, rounded up to whole cells.
CellSize ClientCells(const DialogTemplate& dialog);
