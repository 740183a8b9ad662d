// relvan-probe: plays the user of Relvan.exe for the whole-program test
// under Wine. It finds Relvan's windows on a named desktop (Wine's virtual
// desktop, where the dialogs have their captions), reads titles and fields,
// clicks buttons, types into the Setup dialog, dismisses message boxes and
// takes screenshots. One command per run; output is UTF-8, one fact a line.
//
// Usage: relvan-probe --desktop NAME COMMAND [ARGS...]
//   wait-title TEXT        waits until the main window's title is TEXT
//   status                 prints the status line's text and whether it fits its control
//   wait-status PREFIX     waits until the status line starts with PREFIX; prints it
//   fields                 prints the six display fields as NAME=TEXT lines
//   click ID               clicks the main window's button ID
//   setup                  waits for the Setup dialog; prints its port and OK text
//   type TEXT              types TEXT into the Setup dialog's port over a full selection
//   setup-focus            prints the focused control and the port's selection
//   setup-ok               clicks the Setup dialog's OK and waits until it is gone
//   message                waits for a message box; prints its text and owner, dismisses it
//   no-message SECONDS     fails if a message box shows up within SECONDS
//   screenshot FILE.bmp    saves the main window as it is on the screen
//   finish                 clicks Finish and prints Relvan.exe's exit code
//   set-event NAME         sets a named event (tolm-sim's --stop-event)
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/utf16-win32.h"
#include "ui/resource_ids.h"

namespace {

constexpr int kWaitMs = 20000;
constexpr wchar_t kMainTitlePrefix[] = L"Tolm<->JTDX";

HDESK g_desktop = nullptr;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "relvan-probe: %s\n", what.c_str());
  std::exit(1);
}

// Another process's window: the messages cross over, GetWindowText would
// not read an edit's text.
int TextLengthOf(HWND window) { return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)); }

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(TextLengthOf(window)) + 1, L'\0');
  const LRESULT length = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::string Utf8TextOf(HWND window) { return Utf16ToUtf8(TextOf(window)); }

bool IsDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770" && IsWindowVisible(window);
}

// The first visible dialog on the desktop whose title passes the test.
HWND FindDialog(const std::function<bool(const std::wstring&)>& wanted) {
  struct Search {
    const std::function<bool(const std::wstring&)>* Wanted;
    HWND Found;
  } search{&wanted, nullptr};
  EnumDesktopWindows(
      g_desktop,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (!IsDialog(window) || !(*s->Wanted)(TextOf(window))) return TRUE;
        s->Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

HWND WaitForDialog(const std::function<bool(const std::wstring&)>& wanted, const char* what, int ms = kWaitMs) {
  for (int waited = 0; waited <= ms; waited += 50) {
    if (HWND found = FindDialog(wanted)) return found;
    Sleep(50);
  }
  Fail(std::string("no ") + what + " window");
}

HWND MainWindow() {
  return WaitForDialog([](const std::wstring& t) { return t.rfind(kMainTitlePrefix, 0) == 0; }, "main");
}

HWND SetupWindow() {
  return WaitForDialog([](const std::wstring& t) { return t == L"Setup"; }, "Setup");
}

HWND Item(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (item == nullptr) Fail("no control " + std::to_string(id));
  return item;
}

// A click as the button itself takes it: posted, so that a modal dialog the
// click opens does not hold the probe.
void Click(HWND dialog, int id) { PostMessageW(Item(dialog, id), BM_CLICK, 0, 0); }

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

int WaitTitle(const std::string& expected) {
  std::string title;
  for (int waited = 0; waited <= kWaitMs; waited += 50) {
    title = Utf8TextOf(MainWindow());
    if (title == expected) {
      PrintLine(title);
      return 0;
    }
    Sleep(50);
  }
  Fail("title is \"" + title + "\", expected \"" + expected + "\"");
}

int WaitStatus(const std::string& prefix) {
  HWND line = Item(MainWindow(), ids::kStatusLine);
  std::string text;
  for (int waited = 0; waited <= kWaitMs; waited += 50) {
    text = Utf8TextOf(line);
    if (text.rfind(prefix, 0) == 0) {
      PrintLine(text);
      return 0;
    }
    Sleep(50);
  }
  Fail("the status line is \"" + text + "\", expected it to start with \"" + prefix + "\"");
}

// A hidden copy of the main dialog, made from the template in Relvan.exe's
// resources: its controls have the fonts the dialog manager gives the real
// ones. The real ones' fonts cannot be used from here: a font handle does not
// cross processes (Wine answers another process's WM_GETFONT with 0), nor
// does drawing into another process's window.
class MainDialogCopy {
 public:
  explicit MainDialogCopy(HWND main) {
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool named = process != nullptr && QueryFullProcessImageNameW(process, 0, path, &size);
    if (process != nullptr) CloseHandle(process);
    if (!named) Fail("cannot find Relvan.exe's file");
    module_ = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = module_ ? FindResourceW(module_, MAKEINTRESOURCEW(ids::kMainTemplate), RT_DIALOG) : nullptr;
    const auto* bytes = found ? static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found))) : nullptr;
    if (bytes == nullptr) Fail("no main dialog template in Relvan.exe");
    // DLGTEMPLATEEX: the style follows the version, signature, help id and
    // extended style; without WS_VISIBLE the copy never shows.
    std::vector<std::uint8_t> hidden(bytes, bytes + SizeofResource(module_, found));
    constexpr std::size_t kStyleOffset = 12;
    DWORD style = 0;
    std::memcpy(&style, hidden.data() + kStyleOffset, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(hidden.data() + kStyleOffset, &style, sizeof style);
    dialog_ = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(hidden.data()), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    if (dialog_ == nullptr) Fail("cannot make a copy of the main dialog");
  }
  ~MainDialogCopy() {
    DestroyWindow(dialog_);
    FreeLibrary(module_);
  }
  MainDialogCopy(const MainDialogCopy&) = delete;
  MainDialogCopy& operator=(const MainDialogCopy&) = delete;

  HWND Item(int id) const { return ::Item(dialog_, id); }

 private:
  HMODULE module_ = nullptr;
  HWND dialog_ = nullptr;
};

// Measured as the static draws it: in its font (WM_GETFONT), against its
// client width. A left-aligned static wraps a longer text, and the line has
// room for one row.
int Status() {
  HWND main = MainWindow();
  const std::wstring text = TextOf(Item(main, ids::kStatusLine));
  MainDialogCopy copy(main);
  HWND line = copy.Item(ids::kStatusLine);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(line, WM_GETFONT, 0, 0));
  if (font == nullptr) Fail("the status line has no font of its own");
  HDC dc = GetDC(line);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  const bool measured = GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(line, dc);
  if (!measured) Fail("cannot measure the status line's text");
  RECT client{};
  GetClientRect(Item(main, ids::kStatusLine), &client);
  PrintLine("status=" + Utf16ToUtf8(text));
  PrintLine(std::string("fits=") + (extent.cx <= client.right - client.left ? "yes" : "no"));
  return 0;
}

int Fields() {
  HWND main = MainWindow();
  const std::pair<const char*, int> fields[] = {{"Call", ids::kCallEdit},        {"Rpt Send", ids::kRptSentEdit},
                                                {"Rpt Rcvd", ids::kRptRcvdEdit}, {"Grid", ids::kGridEdit},
                                                {"Freq", ids::kFreqEdit},        {"Mode", ids::kModeEdit}};
  for (const auto& [name, id] : fields) PrintLine(std::string(name) + "=" + Utf8TextOf(Item(main, id)));
  return 0;
}

int Setup() {
  HWND setup = SetupWindow();
  PrintLine("port=" + Utf8TextOf(Item(setup, 1000)));
  PrintLine("ok=" + Utf8TextOf(Item(setup, IDOK)));
  return 0;
}

int Type(const std::string& text) {
  HWND edit = Item(SetupWindow(), 1000);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (wchar_t c : Utf8ToUtf16(text)) PostMessageW(edit, WM_CHAR, c, 1);
  // Let the keystrokes, and a message box one of them may open, arrive.
  Sleep(500);
  return 0;
}

int SetupFocus() {
  HWND setup = SetupWindow();
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(setup, nullptr), &info)) Fail("no thread info");
  DWORD start = 0;
  DWORD end = 0;
  HWND edit = Item(setup, 1000);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  PrintLine("focus=" + std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
  PrintLine("selection=" + std::to_string(start) + "-" + std::to_string(end) + " of " +
            std::to_string(TextLengthOf(edit)));
  return 0;
}

int SetupOk() {
  HWND setup = SetupWindow();
  Click(setup, IDOK);
  for (int waited = 0; waited <= kWaitMs; waited += 50) {
    if (!IsWindow(setup)) return 0;
    Sleep(50);
  }
  Fail("the Setup dialog stays open");
}

bool IsMessageBox(const std::wstring& title) { return title == L"Relvan"; }

// The text of a message box is its static control with id 0xFFFF.
int Message() {
  HWND box = WaitForDialog(IsMessageBox, "message box");
  PrintLine("text=" + Utf8TextOf(Item(box, 0xFFFF)));
  PrintLine("owner=" + Utf8TextOf(GetWindow(box, GW_OWNER)));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int waited = 0; waited <= kWaitMs; waited += 50) {
    if (!IsWindow(box)) return 0;
    Sleep(50);
  }
  Fail("the message box stays open");
}

int NoMessage(int seconds) {
  for (int waited = 0; waited <= seconds * 1000; waited += 50) {
    if (HWND box = FindDialog(IsMessageBox)) Fail("unexpected message box: " + Utf8TextOf(GetDlgItem(box, 0xFFFF)));
    Sleep(50);
  }
  return 0;
}

void WriteBmp(const std::string& path, int width, int height, const std::vector<std::uint8_t>& pixels) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) Fail("cannot write " + path);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  std::fclose(out);
}

// Copies the main window's rectangle from the desktop's screen, caption and
// frame included, as the user sees it.
int Screenshot(const std::string& path) {
  HWND main = MainWindow();
  Sleep(300);  // the last push painted
  RECT rect;
  GetWindowRect(main, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const auto* first = static_cast<const std::uint8_t*>(bits);
  std::vector<std::uint8_t> pixels(first, first + static_cast<std::size_t>(width) * height * 4);
  for (std::size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 0xFF;  // the screen is opaque
  WriteBmp(path, width, height, pixels);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  PrintLine("size=" + std::to_string(width) + "x" + std::to_string(height));
  return 0;
}

int Finish() {
  HWND main = MainWindow();
  DWORD id = 0;
  GetWindowThreadProcessId(main, &id);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) Fail("cannot open Relvan.exe's process");
  Click(main, IDOK);
  if (WaitForSingleObject(process, kWaitMs) != WAIT_OBJECT_0) Fail("Relvan.exe goes on after Finish");
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  PrintLine("exit=" + std::to_string(code));
  return 0;
}

int SetEventNamed(const std::string& name) {
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
  if (event == nullptr || !SetEvent(event)) Fail("cannot set event " + name);
  CloseHandle(event);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--desktop") {
    // The desktop comes into being with Relvan.exe's start: give it time.
    for (int waited = 0; g_desktop == nullptr && waited <= kWaitMs; waited += 100) {
      g_desktop = OpenDesktopW(Utf8ToUtf16(args[1]).c_str(), 0, FALSE, GENERIC_ALL);
      if (g_desktop == nullptr) Sleep(100);
    }
    if (g_desktop == nullptr || !SetThreadDesktop(g_desktop)) Fail("cannot enter desktop " + args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) Fail("no command; see the comment at the top of relvan-probe.cpp");
  const std::string& command = args[0];
  const bool has_arg = args.size() == 2;
  if (command == "set-event" && has_arg) return SetEventNamed(args[1]);
  if (g_desktop == nullptr) Fail(command + " needs --desktop NAME");
  if (command == "wait-title" && has_arg) return WaitTitle(args[1]);
  if (command == "status") return Status();
  if (command == "wait-status" && has_arg) return WaitStatus(args[1]);
  if (command == "fields") return Fields();
  if (command == "click" && has_arg) {
    Click(MainWindow(), std::atoi(args[1].c_str()));
    return 0;
  }
  if (command == "setup") return Setup();
  if (command == "type" && has_arg) return Type(args[1]);
  if (command == "setup-focus") return SetupFocus();
  if (command == "setup-ok") return SetupOk();
  if (command == "message") return Message();
  if (command == "no-message" && has_arg) return NoMessage(std::atoi(args[1].c_str()));
  if (command == "screenshot" && has_arg) return Screenshot(args[1]);
  if (command == "finish") return Finish();
  Fail("unknown command or wrong arguments: " + command);
}
