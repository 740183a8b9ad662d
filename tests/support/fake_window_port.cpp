#include "fake_window_port.h"

void FakeWindowPort::SetControlText(int control, const std::string& text) {
  Controls[control] = text;
  Pushed.push_back(control);
}

void FakeWindowPort::MoveWindow(int x, int y) {
  Rect = {x, y, x + (Rect.Right - Rect.Left), y + (Rect.Bottom - Rect.Top)};
  Moves.emplace_back(x, y);
}

void FakeWindowPort::Type(int control, const std::string& text) {
  Controls[control] = text;
  if (Shown) Shown->OnEditChanged(control);
}

bool FakeWindowPort::Open(Dialog& dialog) {
  Shown = &dialog;
  dialog.Attach(*this);
  return dialog.OnInitDialog();
}

int FakeWindowPort::RunModal(Dialog& child) {
  ChildTemplates.push_back(child.TemplateId());
  Children.push_back(std::make_unique<FakeWindowPort>());
  FakeWindowPort& window = *Children.back();
  window.Open(child);
  if (ChildScript) ChildScript(child, window);
  return window.Result.value_or(0);
}
