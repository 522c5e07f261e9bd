#include "tools/ivac_standin/client.h"

#include "platform/files.h"
#include "platform/text.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

namespace qv::standin {

std::string WindowsPath(std::string_view path) {
  std::string p(path);
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string StandInExe(std::string_view fallback) {
  const char* env = std::getenv("QV_STANDIN_EXE");
  return WindowsPath(env && *env ? std::string_view(env) : fallback);
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeout_ms) return false;
    Sleep(10);
  }
}

// ---------------------------------------------------------------------------
// The process

bool StandInProcess::Start(const std::string& exe, const std::string& folder,
                           const std::string& settings, std::string* error) {
  Stop();
  const std::string config = folder + "\\standin.cfg";
  log_ = folder + "\\standin.log";
  files::Remove(log_);
  if (!files::WriteAtomic(config, settings)) {
    if (error) *error = "cannot write " + config;
    return false;
  }
  std::string command = "\"" + exe + "\" --config \"" + config + "\" --log \"" + log_ + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    if (error) *error = "cannot start " + exe + " (error " + DecimalText(GetLastError()) + ")";
    return false;
  }
  CloseHandle(pi.hThread);
  process_.Reset(pi.hProcess);
  pid_ = pi.dwProcessId;

  const std::optional<Event> ready = WaitFor("ready", {}, 0, 15000);
  if (!ready) {
    if (error) *error = "the stand-in did not log \"ready\" in " + log_;
    Stop();
    return false;
  }
  main_ = reinterpret_cast<HWND>(static_cast<uintptr_t>(ready->Int("main", 0)));
  return true;
}

bool StandInProcess::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void StandInProcess::Stop() {
  if (!process_) return;
  if (Running() && main_) PostMessageA(main_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
    TerminateProcess(process_.get(), 9);
    WaitForSingleObject(process_.get(), 5000);
  }
  process_.Reset();
  pid_ = 0;
  main_ = nullptr;
}

bool StandInProcess::Control(std::string_view settings) const {
  std::string text(settings);
  COPYDATASTRUCT cds{kControlMagic, static_cast<DWORD>(text.size()), text.data()};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 5000,
                           &result))
    return false;
  return result == 1;
}

std::vector<Event> StandInProcess::Events() const {
  std::vector<Event> events;
  std::string data;
  if (!files::ReadAll(log_, data)) return events;
  size_t start = 0;
  for (;;) {
    const size_t end = data.find('\n', start);
    if (end == std::string::npos) break;  // a line still being written
    if (auto e = ParseEventLine(std::string_view(data).substr(start, end - start)))
      events.push_back(std::move(*e));
    start = end + 1;
  }
  return events;
}

int64_t StandInProcess::LastSeq() const {
  const std::vector<Event> events = Events();
  return events.empty() ? 0 : events.back().Int("seq", 0);
}

std::vector<Event> StandInProcess::Find(std::string_view name, int64_t after_seq) const {
  std::vector<Event> out;
  for (Event& e : Events())
    if (e.Int("seq", 0) > after_seq && e.Name() == name) out.push_back(std::move(e));
  return out;
}

std::optional<Event> StandInProcess::WaitFor(std::string_view name, const Where& where,
                                             int64_t after_seq, int timeout_ms) const {
  std::optional<Event> found;
  WaitUntil(
      [&] {
        for (Event& e : Find(name, after_seq)) {
          bool all = true;
          for (const auto& [field, text] : where) all = all && e.Text(field) == text;
          if (all) {
            found = std::move(e);
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  return found;
}

bool SaveScreenshot(const std::string& path) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  bool ok = false;
  if (bitmap.get() && bits) {
    HGDIOBJ old = SelectObject(mem, bitmap.get());
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
    data.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    data.append(static_cast<const char*>(bits), size);
    ok = files::WriteAtomic(path, data);
    SelectObject(mem, old);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return ok;
}

// ---------------------------------------------------------------------------
// Finding windows

namespace {

struct EnumState {
  std::string_view cls;
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<EnumState*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if ((s->pid == 0 || pid == s->pid) && (s->cls.empty() || EqualsNoCase(ClassName(hwnd), s->cls)))
    s->found.push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK FirstIvAc(HWND hwnd, LPARAM lp) {
  if (WindowText(hwnd).rfind("IvAc 1", 0) == 0) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindIvAcMain() {
  HWND found = nullptr;
  EnumWindows(FirstIvAc, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> TopLevelWindows(std::string_view cls, DWORD pid) {
  EnumState s{cls, pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> Children(HWND parent, std::string_view cls) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (cls.empty() || EqualsNoCase(ClassName(c), cls)) out.push_back(c);
  return out;
}

HWND Child(HWND parent, std::string_view cls, std::string_view caption) {
  for (HWND c : Children(parent, cls))
    if (TextOf(c) == caption) return c;
  return nullptr;
}

HWND Descendant(HWND parent, std::string_view cls) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (EqualsNoCase(ClassName(c), cls)) return c;
    if (HWND d = Descendant(c, cls)) return d;
  }
  return nullptr;
}

HWND UntitledDialogWith(DWORD pid, std::string_view cls, std::string_view caption) {
  for (HWND w : TopLevelWindows("#32770", pid))
    if (TextOf(w).empty() && Child(w, cls, caption)) return w;
  return nullptr;
}

std::string TextOf(HWND hwnd) {
  const LRESULT n = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (n <= 0) return "";
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const LRESULT got = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(n + 1),
                                   reinterpret_cast<LPARAM>(s.data()));
  s.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return s;
}

std::string ListBoxItem(HWND list, int index) {
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR || n < 0) return "";
  std::string s(static_cast<size_t>(n) * 2 + 2, '\0');
  if (SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(s.data())) == LB_ERR)
    return "";
  // Windows answers in ANSI: n bytes and a NUL. Wine 8 answers a caller in
  // another process in UTF-16 whatever the list box is, so a NUL comes
  // before the n-th byte; then the text is converted back.
  const size_t ansi = std::strlen(s.c_str());
  if (ansi >= static_cast<size_t>(n)) return s.substr(0, static_cast<size_t>(n));
  std::wstring wide(reinterpret_cast<const wchar_t*>(s.data()), static_cast<size_t>(n));
  std::string out(static_cast<size_t>(n) * 2 + 1, '\0');
  const int got = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return out;
}

std::vector<std::vector<std::string>> ReadListView(HWND lv) {
  std::vector<std::vector<std::string>> rows;
  const int count = static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
  HWND header = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  DWORD pid = 0;
  GetWindowThreadProcessId(lv, &pid);
  KernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process || count <= 0 || columns <= 0) return rows;
  constexpr SIZE_T kText = 256;
  void* remote_text = VirtualAllocEx(process.get(), nullptr, kText, MEM_COMMIT, PAGE_READWRITE);
  void* remote_item =
      VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
  if (remote_text && remote_item) {
    for (int r = 0; r < count; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < columns; ++c) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.iSubItem = c;
        item.pszText = static_cast<char*>(remote_text);
        item.cchTextMax = kText - 1;
        char text[kText] = {};
        WriteProcessMemory(process.get(), remote_item, &item, sizeof item, nullptr);
        WriteProcessMemory(process.get(), remote_text, text, kText, nullptr);
        SendMessageA(lv, LVM_GETITEMTEXTA, r, reinterpret_cast<LPARAM>(remote_item));
        ReadProcessMemory(process.get(), remote_text, text, kText, nullptr);
        text[kText - 1] = '\0';
        row.push_back(text);
      }
      rows.push_back(std::move(row));
    }
  }
  if (remote_text) VirtualFreeEx(process.get(), remote_text, 0, MEM_RELEASE);
  if (remote_item) VirtualFreeEx(process.get(), remote_item, 0, MEM_RELEASE);
  return rows;
}

// ---------------------------------------------------------------------------
// Input

bool BringToFront(HWND hwnd) {
  // SetForegroundWindow's answer is not to be trusted: check, and retry.
  for (int i = 0; i < 20; ++i) {
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (GetForegroundWindow() == hwnd) return true;
    Sleep(25);
  }
  return false;
}

void KeyDown(BYTE vk) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), 0, 0); }
void KeyUp(BYTE vk) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), KEYEVENTF_KEYUP, 0);
}

bool KeyLeftDown(BYTE vk) {
  if (GetAsyncKeyState(vk) >= 0) return false;
  KeyUp(vk);
  return true;
}

void ClickAt(POINT screen, bool right) {
  SetCursorPos(screen.x, screen.y);
  mouse_event(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

}  // namespace qv::standin
