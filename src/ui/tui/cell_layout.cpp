#include "ui/tui/cell_layout.h"

namespace {

int NearestColumn(int du) { return (du + kDuPerColumn / 2) / kDuPerColumn; }

}  // namespace

CellRect ControlCells(const ControlTemplate& control) {
  const int left = NearestColumn(control.X);
  const int right = NearestColumn(control.X + control.Width);
  return {(2 * control.Y + control.Height) / (2 * kDuPerRow), left, right - left};
}

CellSize ClientCells(const DialogTemplate& dialog) {
  return {(dialog.Height + kDuPerRow - 1) / kDuPerRow, (dialog.Width + kDuPerColumn - 1) / kDuPerColumn};
}
