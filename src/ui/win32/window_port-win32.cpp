#include "ui/win32/window_port-win32.h"

#include <string>

#include "core/utf16-win32.h"
#include "ui/resource_ids.h"
#include "ui/win32/resource.h"

// relvan.rc names its resources with plain #defines; they must be the ids
// the dialog classes use.
static_assert(IDD_ABOUTBOX == ids::kAboutTemplate && IDS_ABOUTBOX == ids::kAboutMenuString &&
              IDD_RELVAN_DIALOG == ids::kMainTemplate && IDR_MAINFRAME == ids::kAppIcon &&
              IDD_SETUP == ids::kSetupTemplate);
static_assert(IDC_CALL == ids::kCallEdit && IDC_RPT_SENT == ids::kRptSentEdit && IDC_RPT_RCVD == ids::kRptRcvdEdit &&
              IDC_GRID == ids::kGridEdit && IDC_MODE == ids::kModeEdit && IDC_FREQ == ids::kFreqEdit &&
              IDC_SETUP == ids::kSetupButton && IDC_STATUS_LINE == ids::kStatusLine && IDC_PORT == ids::kPortEdit);
static_assert(IDOK == ids::kOk && IDCANCEL == ids::kCancel);

namespace {

constexpr wchar_t kMessageCaption[] = L"Relvan";

COLORREF ToColorRef(Rgb colour) { return RGB(colour.R, colour.G, colour.B); }

HICON LoadAppIcon(HINSTANCE resources, int size_metric_x, int size_metric_y) {
  return static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(ids::kAppIcon), IMAGE_ICON,
                                       GetSystemMetrics(size_metric_x), GetSystemMetrics(size_metric_y),
                                       LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

Win32DialogWindow::Win32DialogWindow(Dialog& dialog, HINSTANCE resources, Role role)
    : dialog_(dialog), resources_(resources), role_(role) {}

Win32DialogWindow::~Win32DialogWindow() {
  if (background_ != nullptr) DeleteObject(background_);
}

int Win32DialogWindow::Run(HWND owner) {
  dialog_.Attach(*this);
  const INT_PTR result = DialogBoxParamW(resources_, MAKEINTRESOURCEW(dialog_.TemplateId()), owner, Procedure,
                                         reinterpret_cast<LPARAM>(this));
  window_ = nullptr;
  return static_cast<int>(result);
}

INT_PTR CALLBACK Win32DialogWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Win32DialogWindow*>(lparam);
    self->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, lparam);
  }
  auto* self = reinterpret_cast<Win32DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  // Messages before WM_INITDIALOG (fonts, sizes) are the system's alone.
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    return FALSE;
  }
  return self->Handle(message, wparam, lparam);
}

INT_PTR Win32DialogWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise();
      // TRUE lets the system put the focus on the first tab stop; a dialog
      // that refuses to start (a socket that stays blocking) sets none.
      return dialog_.OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: return Command(LOWORD(wparam), HIWORD(wparam));
    case WM_TIMER: dialog_.OnTimer(static_cast<unsigned>(wparam)); return TRUE;
    case WM_SETCURSOR: dialog_.OnSetCursor(); return FALSE;  // the default processing still sets the pointer's shape
    case WM_SYSCOMMAND:
      if (!dialog_.OnSysCommand(static_cast<unsigned>(wparam))) return FALSE;
      SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_PAINT: return PaintMinimised() ? TRUE : FALSE;
    case WM_QUERYDRAGICON: return role_ == Role::Main ? reinterpret_cast<INT_PTR>(icon_) : FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return Colour(reinterpret_cast<HDC>(wparam));
    default: (void)lparam; return FALSE;
  }
}

void Win32DialogWindow::Initialise() {
  // The About box keeps the system's colours; the main window and Setup
  // have their own.
  if (dialog_.TemplateId() != ids::kAboutTemplate) background_ = CreateSolidBrush(ToColorRef(dialog_.Colours().Brush));
  if (role_ == Role::Main) {
    icon_ = LoadAppIcon(resources_, SM_CXICON, SM_CYICON);
    small_icon_ = LoadAppIcon(resources_, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
  }
}

INT_PTR Win32DialogWindow::Command(int control, int notification) {
  if (notification == BN_CLICKED) {
    // Enter arrives as the default button's click, Esc and the close box as
    // IDCANCEL's.
    if (control == IDOK) {
      dialog_.OnOK();
    } else if (control == IDCANCEL) {
      dialog_.OnCancel();
    } else {
      dialog_.OnButtonClicked(control);
    }
    return TRUE;
  }
  if (notification == EN_CHANGE) {
    dialog_.OnEditChanged(control);
    return TRUE;
  }
  return FALSE;
}

INT_PTR Win32DialogWindow::Colour(HDC dc) {
  if (background_ == nullptr) return FALSE;
  // The background mode stays opaque: the cells behind texts show the text
  // background, a shade darker than the brush around them.
  SetTextColor(dc, ToColorRef(dialog_.Colours().Text));
  SetBkColor(dc, ToColorRef(dialog_.Colours().TextBackground));
  return reinterpret_cast<INT_PTR>(background_);
}

bool Win32DialogWindow::PaintMinimised() {
  if (role_ != Role::Main || !IsIconic(window_)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window_, &client);
  const POINT origin = CentredIconOrigin(client.right - client.left, client.bottom - client.top,
                                         GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, origin.x, origin.y, icon_);
  EndPaint(window_, &paint);
  return true;
}

void Win32DialogWindow::SetTitle(const std::string& title) { SetWindowTextW(window_, Utf8ToUtf16(title).c_str()); }

void Win32DialogWindow::SetControlText(int control, const std::string& text) {
  SetDlgItemTextW(window_, control, Utf8ToUtf16(text).c_str());
}

std::string Win32DialogWindow::GetControlText(int control) {
  HWND item = GetDlgItem(window_, control);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return Utf16ToUtf8(text);
}

void Win32DialogWindow::FocusControl(int control) {
  HWND item = GetDlgItem(window_, control);
  // WM_NEXTDLGCTL keeps the dialog manager's idea of the focus (and so the
  // default button) right; the selection makes the next keystroke replace
  // the text.
  SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
  SendMessageW(item, EM_SETSEL, 0, -1);
}

void Win32DialogWindow::StartTimer(unsigned id, unsigned interval_ms) { SetTimer(window_, id, interval_ms, nullptr); }

void Win32DialogWindow::StopTimer(unsigned id) { KillTimer(window_, id); }

WindowRect Win32DialogWindow::GetWindowRect() {
  RECT rect{};
  ::GetWindowRect(window_, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void Win32DialogWindow::MoveWindow(int x, int y) {
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogWindow::AddSystemMenuItem(unsigned command, const std::string& text) {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu == nullptr || text.empty()) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, command, Utf8ToUtf16(text).c_str());
}

void Win32DialogWindow::EndDialog(int result) { ::EndDialog(window_, result); }

void Win32DialogWindow::ShowMessage(const std::string& text, MessageKind kind) {
  // MessageBox's own loop goes on dispatching this thread's messages, the
  // main window's timer included.
  const UINT icon = kind == MessageKind::Error ? MB_ICONERROR : MB_ICONWARNING;
  MessageBoxW(window_, Utf8ToUtf16(text).c_str(), kMessageCaption, MB_OK | icon);
}

int Win32DialogWindow::RunModal(Dialog& child) {
  Win32DialogWindow window(child, resources_, Role::Child);
  return window.Run(window_);
}

int DesktopModalRunner::RunModal(Dialog& dialog) {
  Win32DialogWindow window(dialog, resources_, Win32DialogWindow::Role::Main);
  const int result = window.Run(nullptr);
  if (result == -1) {
    const std::wstring text = L"Relvan cannot open its window (error " + std::to_wstring(GetLastError()) + L").";
    MessageBoxW(nullptr, text.c_str(), kMessageCaption, MB_OK | MB_ICONERROR);
  }
  return result;
}

void ShowMessageAlone(const std::string& text) {
  MessageBoxW(nullptr, Utf8ToUtf16(text).c_str(), kMessageCaption, MB_OK | MB_ICONERROR);
}
