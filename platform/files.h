// Files and folders, with the program's own path convention: paths are ANSI
// texts joined with "\" as on Windows. On other systems the backslashes are
// mapped to "/" at the last moment, so the portable core and its tests use
// the same paths everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::files {

// The path as the operating system wants it.
std::string NativePath(std::string_view path);

bool Exists(std::string_view path);
bool IsDirectory(std::string_view path);

// Creates one folder level; true when it exists afterwards.
bool CreateFolder(std::string_view path);

// Whole file into `out` (bytes as stored). False when it cannot be read.
bool ReadAll(std::string_view path, std::string& out);

// A name the system keeps for a device (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, CONIN$, CONOUT$), with or without an extension or trailing
// blanks and dots, in any case. Opening one talks to the device (a serial
// port may block for ever), never to a file. `path` may be a whole path: its
// last part counts.
bool IsDeviceName(std::string_view path);

// An ordinary file: there, not a folder, not a device.
bool IsRegularFile(std::string_view path);

// A script (macro) file read whole, at most `maxBytes` of it: a hostile or
// mistaken file can neither block the read nor take memory beyond the cap.
enum class ScriptRead { kOk, kMissing, kUnreadable, kTooLarge, kNotAFile };
inline constexpr uint64_t kMaxScriptBytes = 1u << 20;  // 1 MB
ScriptRead ReadScript(std::string_view path, std::string& out, uint64_t maxBytes = kMaxScriptBytes);

// Replaces the file's content as one step: the data goes to a temporary file
// beside it, is flushed, and only then takes the old file's place. A crash
// or a full disk leaves either the old file or the new one, never a mix.
// Several Quorvex processes may write the same file (Config.ini at every
// start): each has a temporary file of its own, writes within one process
// take turns, and a replace that another program holds up for a moment
// (a scanner, a reader without delete sharing) is tried again briefly.
bool WriteAtomic(std::string_view path, std::string_view data);

// The temporary file this process writes beside `path` before replacing it.
std::string TempPathFor(std::string_view path);

// Appends to the file, creating it when missing; open, write, close.
bool Append(std::string_view path, std::string_view data);

bool Remove(std::string_view path);

// The folder part of a path (before the last "\" or "/"), "" when none.
std::string FolderOf(std::string_view path);

}  // namespace qv::files
