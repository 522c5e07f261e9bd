#include "platform/files.h"

#include <cstdio>
#include <mutex>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv::files {

std::string NativePath(std::string_view path) {
  std::string p(path);
#ifndef _WIN32
  for (char& c : p)
    if (c == '\\') c = '/';
#endif
  return p;
}

namespace {
// Writers of this process take turns on the one temporary name it uses.
std::mutex& WriteLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

std::string TempPathFor(std::string_view path) {
#ifdef _WIN32
  const unsigned long pid = GetCurrentProcessId();
#else
  const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  return std::string(path) + "." + std::to_string(pid) + ".qvtmp";
}

bool IsDeviceName(std::string_view path) {
  const size_t cut = path.find_last_of("\\/:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  // The system ignores what follows the first dot, and trailing blanks.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" ||
      upper == "CONOUT$")
    return true;
  return upper.size() == 4 &&
         (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) && upper[3] >= '1' &&
         upper[3] <= '9';
}

namespace {

// Reads from an open file up to `maxBytes` + 1 bytes, through `read`
// (bytes read, 0 at the end, negative on an error).
template <typename ReadFn>
ScriptRead ReadCapped(ReadFn read, std::string& out, uint64_t maxBytes) {
  char buf[16384];
  for (;;) {
    const long long got = read(buf, sizeof buf);
    if (got < 0) return ScriptRead::kUnreadable;
    if (got == 0) return ScriptRead::kOk;
    if (out.size() + static_cast<uint64_t>(got) > maxBytes) {
      out.clear();
      return ScriptRead::kTooLarge;
    }
    out.append(buf, static_cast<size_t>(got));
  }
}

}  // namespace

std::string FolderOf(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

#ifdef _WIN32

bool Exists(std::string_view path) {
  return GetFileAttributesA(NativePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(std::string_view path) {
  const DWORD a = GetFileAttributesA(NativePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolder(std::string_view path) {
  const std::string p = NativePath(path);
  return CreateDirectoryA(p.c_str(), nullptr) || IsDirectory(p);
}

bool ReadAll(std::string_view path, std::string& out) {
  out.clear();
  HANDLE h = CreateFileA(NativePath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  char buf[16384];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    out.append(buf, got);
  }
  CloseHandle(h);
  return ok;
}

bool IsRegularFile(std::string_view path) {
  if (IsDeviceName(path)) return false;
  const DWORD a = GetFileAttributesA(NativePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

ScriptRead ReadScript(std::string_view path, std::string& out, uint64_t maxBytes) {
  out.clear();
  const std::string p = NativePath(path);
  const DWORD a = GetFileAttributesA(p.c_str());
  if (IsDeviceName(path)) return ScriptRead::kNotAFile;
  if (a == INVALID_FILE_ATTRIBUTES) return ScriptRead::kMissing;
  if (a & FILE_ATTRIBUTE_DIRECTORY) return ScriptRead::kNotAFile;
  HANDLE h =
      CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ScriptRead::kUnreadable;
  ScriptRead result = ScriptRead::kNotAFile;
  LARGE_INTEGER size{};
  if (GetFileType(h) == FILE_TYPE_DISK) {
    if (GetFileSizeEx(h, &size) && static_cast<uint64_t>(size.QuadPart) > maxBytes) {
      result = ScriptRead::kTooLarge;
    } else {
      result = ReadCapped(
          [h](char* buf, size_t n) -> long long {
            DWORD got = 0;
            if (!ReadFile(h, buf, static_cast<DWORD>(n), &got, nullptr)) return -1;
            return got;
          },
          out, maxBytes);
    }
  }
  CloseHandle(h);
  if (result != ScriptRead::kOk) out.clear();
  return result;
}

static bool WriteHandle(HANDLE h, std::string_view data) {
  while (!data.empty()) {
    DWORD put = 0;
    const DWORD chunk = data.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(data.size());
    if (!WriteFile(h, data.data(), chunk, &put, nullptr) || put == 0) return false;
    data.remove_prefix(put);
  }
  return true;
}

// Replaces `target` with `temp`; a replace refused because another program
// has the file open at this moment is tried again for a short while.
static bool Replace(const std::string& temp, const std::string& target) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD error = GetLastError();
    const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                      error == ERROR_LOCK_VIOLATION;
    if (!busy || attempt == 9) return false;
    Sleep(20);
  }
}

bool WriteAtomic(std::string_view path, std::string_view data) {
  const std::lock_guard<std::mutex> turn(WriteLock());
  const std::string target = NativePath(path);
  const std::string temp = TempPathFor(target);
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteHandle(h, data) && FlushFileBuffers(h);
  CloseHandle(h);
  if (!written || !Replace(temp, target)) {
    DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

bool Append(std::string_view path, std::string_view data) {
  // Delete sharing lets another process replace the file meanwhile.
  HANDLE h = CreateFileA(NativePath(path).c_str(), FILE_APPEND_DATA,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteHandle(h, data);
  CloseHandle(h);
  return ok;
}

bool Remove(std::string_view path) { return DeleteFileA(NativePath(path).c_str()) != 0; }

#else

bool Exists(std::string_view path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0;
}

bool IsDirectory(std::string_view path) {
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(std::string_view path) {
  const std::string p = NativePath(path);
  return mkdir(p.c_str(), 0777) == 0 || IsDirectory(p);
}

bool ReadAll(std::string_view path, std::string& out) {
  out.clear();
  const int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[16384];
  bool ok = true;
  for (;;) {
    const ssize_t got = read(fd, buf, sizeof buf);
    if (got < 0) {
      ok = false;
      break;
    }
    if (got == 0) break;
    out.append(buf, static_cast<size_t>(got));
  }
  close(fd);
  return ok;
}

bool IsRegularFile(std::string_view path) {
  struct stat st;
  return !IsDeviceName(path) && stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

ScriptRead ReadScript(std::string_view path, std::string& out, uint64_t maxBytes) {
  out.clear();
  const std::string p = NativePath(path);
  struct stat st;
  if (IsDeviceName(path)) return ScriptRead::kNotAFile;
  if (stat(p.c_str(), &st) != 0) return ScriptRead::kMissing;
  if (!S_ISREG(st.st_mode)) return ScriptRead::kNotAFile;
  // Not blocking on open: what is there may have been swapped for a pipe.
  const int fd = open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ScriptRead::kUnreadable;
  ScriptRead result = ScriptRead::kNotAFile;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    result = static_cast<uint64_t>(st.st_size) > maxBytes
                 ? ScriptRead::kTooLarge
                 : ReadCapped([fd](char* buf, size_t n) -> long long { return read(fd, buf, n); },
                              out, maxBytes);
  }
  close(fd);
  if (result != ScriptRead::kOk) out.clear();
  return result;
}

static bool WriteFd(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t put = write(fd, data.data(), data.size());
    if (put <= 0) return false;
    data.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

bool WriteAtomic(std::string_view path, std::string_view data) {
  const std::lock_guard<std::mutex> turn(WriteLock());
  const std::string target = NativePath(path);
  const std::string temp = TempPathFor(target);
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteFd(fd, data) && fsync(fd) == 0;
  close(fd);
  if (!written || rename(temp.c_str(), target.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

bool Append(std::string_view path, std::string_view data) {
  const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool ok = WriteFd(fd, data);
  close(fd);
  return ok;
}

bool Remove(std::string_view path) { return unlink(NativePath(path).c_str()) == 0; }

#endif

}  // namespace qv::files
