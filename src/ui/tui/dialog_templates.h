#pragma once
#include <string>
#include <vector>

// The dialogs' templates as the terminal front end shows them: the Windows
// resource script's own, made from it when the terminal is built
// (dialog_templates.cmake), so both front ends lay the dialogs out alike.

enum class ControlKind { Label, Edit, Button, DefaultButton, Icon };

struct ControlTemplate {
  int Id;  // -1 for labels and the icon, which never get messages
  ControlKind Kind;
  int X, Y, Width, Height;  // dialog units
  std::string Text;         // empty for the icon
  bool TabStop() const {
    return Kind == ControlKind::Edit || Kind == ControlKind::Button || Kind == ControlKind::DefaultButton;
  }
};

struct DialogTemplate {
  std::string Title;
  int Width, Height;                      // dialog units
  std::vector<ControlTemplate> Controls;  // template order, also the tab order
};

// The template of a dialog by its id (main 102, Setup 129, About 100).
// Unknown ids give an empty dialog with the title "Relvan".
const DialogTemplate& FindDialogTemplate(int template_id);

// The widest a message box's text runs before it wraps, and the most lines
// of text a message box shows.
inline constexpr int kMessageBoxColumns = 56;
inline constexpr int kMaxMessageLines = 12;

// A message box: the text wrapped at `max_text_width`, each LF starting a
// new line, and an OK button under it. Past kMaxMessageLines the text is
// cut, its last line shown ending in "...".
DialogTemplate MessageBoxTemplate(const std::string& text, int max_text_width);
