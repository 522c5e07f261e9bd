#include "win32/support/e2e.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <cstring>

namespace qv::e2e {

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string p = "Z:" + path;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

Process::~Process() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
  }
  if (pi_.hThread) CloseHandle(pi_.hThread);
}

Process::Process(Process&& o) noexcept : pi_(o.pi_) { o.pi_ = {}; }

namespace {

// The current environment with AppData replaced; Wine takes AppData from its
// own profile, so a child gets another one only through its block.
std::string EnvironmentWith(const std::string& appData) {
  std::string block;
  char* env = GetEnvironmentStringsA();
  for (const char* p = env; *p; p += std::strlen(p) + 1) {
    if (_strnicmp(p, "APPDATA=", 8) == 0) continue;
    block.append(p).push_back('\0');
  }
  FreeEnvironmentStringsA(env);
  block.append("APPDATA=" + appData).push_back('\0');
  block.push_back('\0');
  return block;
}

}  // namespace

bool Process::Start(const std::string& exe, const std::string& args, const std::string& appData) {
  std::string line = "\"" + exe + "\"";
  if (!args.empty()) line += " " + args;
  std::string env = appData.empty() ? std::string() : EnvironmentWith(appData);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                        env.empty() ? nullptr : env.data(), nullptr, &si, &pi_) != 0;
}

bool Process::WaitExit(DWORD ms, DWORD* code) {
  if (WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return false;
  if (code) GetExitCodeProcess(pi_.hProcess, code);
  return true;
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void RegisterLocal(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = Instance();
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

bool WaitFor(const std::function<bool()>& probe, DWORD ms, DWORD step) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (probe()) return true;
    if (GetTickCount() - start >= ms) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(step);
  }
}

std::string WindowText(HWND w) {
  char buf[4096] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

COLORREF PixelAt(HWND w, int x, int y) {
  HDC dc = GetDC(w);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 1, 1);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, 1, 1, dc, x, y, SRCCOPY);
  const COLORREF c = GetPixel(mem, 0, 0);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(w, dc);
  return c;
}

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
  return out;
}

namespace {

BOOL CALLBACK CollectTop(HWND w, LPARAM all) {
  reinterpret_cast<std::vector<HWND>*>(all)->push_back(w);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid, const std::string& cls, const std::string& caption) {
  std::vector<HWND> all, found;
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&all));
  for (HWND w : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w) && (cls.empty() || ClassOf(w) == cls) &&
        (caption.empty() || WindowText(w) == caption))
      found.push_back(w);
  }
  return found;
}

HWND WaitTopWindow(DWORD pid, const std::string& cls, const std::string& caption, DWORD ms) {
  std::vector<HWND> found;
  WaitFor([&] { return !(found = TopWindowsOf(pid, cls, caption)).empty(); }, ms);
  return found.empty() ? nullptr : found.front();
}

std::string FreshDataFolder(const std::string& prefix) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string root =
      std::string(temp) + prefix + info->name() + "_" + std::to_string(GetCurrentProcessId());
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  for (const char* sub :
       {"", "\\Quorvex", "\\Quorvex\\Config", "\\Quorvex\\QuorvexData",
        "\\Quorvex\\QuorvexData\\Panels", "\\Quorvex\\QuorvexData\\Macro", "\\standin"})
    CreateDirectoryA((root + sub).c_str(), nullptr);
  return root;
}

std::string CaseFolder() {
  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string out = std::string(cwd) + "\\out";
  const std::string folder = out + "\\" + info->test_suite_name() + "." + info->name();
  CreateDirectoryA(out.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool WaitMessageBox(DWORD pid, DWORD ms, MessageBoxInfo& info) {
  return WaitFor(
      [&] {
        const auto boxes = TopWindowsOf(pid, "#32770", "");
        if (boxes.empty()) return false;
        info.window = boxes.front();
        info.caption = WindowText(info.window);
        info.text.clear();
        // The message is the static control that is not the icon.
        for (HWND c : ChildrenOf(info.window)) {
          if (_stricmp(ClassOf(c).c_str(), "Static") != 0) continue;
          const std::string t = WindowText(c);
          if (t.size() > info.text.size()) info.text = t;
        }
        return !info.text.empty();
      },
      ms);
}

void AnswerMessageBox(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void ScreenDpi::Set(DWORD dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
  }
}

std::string ReadFileText(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

std::string VersionString(const std::string& file, const std::string& name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return {};
  std::string block(size, '\0');
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return {};
  char* text = nullptr;
  UINT len = 0;
  const std::string query = "\\StringFileInfo\\040904b0\\" + name;
  if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &len) || !text)
    return {};
  return text;
}

}  // namespace qv::e2e
