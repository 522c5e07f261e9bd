#include "editor/panel_manager.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "panels/panel_profile.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace qv::editor {

namespace {

// The longest path the system's file functions take, without its final NUL.
constexpr size_t kMaxPath = 259;

bool LessNoCase(const std::string& a, const std::string& b) {
  const std::string la = ToLower(a), lb = ToLower(b);
  return la != lb ? la < lb : a < b;
}

}  // namespace

std::vector<std::string> ListPanels(std::string_view panelsFolder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(files::NativePath(panelsFolder), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (file.size() <= 4 || !EqualsNoCase(std::string_view(file).substr(file.size() - 4), ".ini"))
      continue;
    std::error_code kindError;
    if (!it->is_regular_file(kindError) || files::IsDeviceName(file)) continue;
    names.push_back(file.substr(0, file.size() - 4));
  }
  std::sort(names.begin(), names.end(), LessNoCase);
  return names;
}

std::vector<std::string> FilterPanels(const std::vector<std::string>& names,
                                      std::string_view typed) {
  if (typed.empty()) return names;
  const std::string needle = ToLower(typed);
  std::vector<std::string> kept;
  for (const std::string& n : names)
    if (ToLower(n).find(needle) != std::string::npos) kept.push_back(n);
  return kept;
}

NameVerdict CheckNewPanelName(std::string_view panelsFolder, std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 32 ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      return {NameCheck::kInvalid,
              "A panel name cannot hold \\ / : * ? \" < > | or control characters."};
  }
  if (files::IsDeviceName(name))
    return {NameCheck::kInvalid,
            "The name belongs to a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9)."};
  const std::string path = panels::PanelPath(panelsFolder, name);
  if (path.size() > kMaxPath) return {NameCheck::kInvalid, "The name is too long for a file name."};
  if (files::Exists(path)) return {NameCheck::kExists, {}};
  return {};
}

std::string CopyPrompt(std::string_view name) { return "Copy " + std::string(name) + " to:"; }

std::string CopyTitle() { return std::string(kCaption) + "Copy Panel"; }

std::string InvalidNameText(std::string_view name, std::string_view reason) {
  return std::string(name) + "\r\n\nInvalid Name\r\n\n" + std::string(reason);
}

std::string AlreadyExistsText(std::string_view name) {
  return std::string(name) + "\r\n\nMacro Panel already exists";
}

std::string RemoveQuestionText(std::string_view name) {
  return "Delete Macro Panel \r\n\n" + std::string(name) + "\r\n\nConfirm ?";
}

std::string RemovingText(std::string_view name) {
  return "Removing Macro Panel " + std::string(name);
}

std::string RemoveFailedText(std::string_view name) {
  return std::string(name) + "\r\n\nThe Macro Panel was not removed.";
}

bool CreateNewPanel(std::string_view panelsFolder, std::string_view name) {
  const std::string path = panels::PanelPath(panelsFolder, name);
  if (files::Exists(path)) return false;
  return panels::CreatePanelFile(path, "");
}

CopyResult CopyPanel(std::string_view panelsFolder, std::string_view from, std::string_view to) {
  const std::string source = panels::PanelPath(panelsFolder, from);
  const std::string target = panels::PanelPath(panelsFolder, to);
  if (files::Exists(target)) return CopyResult::kExists;
  std::string data;
  if (!files::IsRegularFile(source) || !files::ReadAll(source, data))
    return CopyResult::kUnreadable;
  return files::WriteAtomic(target, data) ? CopyResult::kCopied : CopyResult::kUnwritable;
}

std::string PanelDescription(std::string_view panelsFolder, std::string_view name) {
  const std::string path = panels::PanelPath(panelsFolder, name);
  if (!files::IsRegularFile(path)) return {};
  return profile::ReadKey(path, panels::kSetupSection, "Description", "");
}

std::string RoleOf(RunKind kind) {
  switch (kind) {
    case RunKind::kClient:
      return "SEND";
    case RunKind::kServer:
      return "RECV";
    default:
      return "";
  }
}

std::string NewProcessArguments(RunKind kind, std::string_view panel) {
  switch (kind) {
    case RunKind::kPanel:
      return std::string(panel);
    case RunKind::kClient:
      return "*CLIENT " + std::string(panel);
    case RunKind::kServer:
      return "*SERVER";
    case RunKind::kMacroHelper:
      return "*MACROHELPER";
  }
  return {};
}

PanelPicture BuildPanelPicture(const panels::ValueReader& file, int32_t boxWidth, int32_t boxHeight,
                               panels::SysColorFn sysColor) {
  using namespace panels;
  PanelPicture picture;
  const PanelSetup setup = ReadSetup(file, SetupReader::kRunningPanel);
  const double gridW = GridWidth(setup), gridH = GridHeight(setup);
  const int32_t count = ButtonCount(setup);
  if (gridW <= 0 || gridH <= 0 || count <= 0 || boxWidth <= 0 || boxHeight <= 0) return picture;
  const double scale = std::min({boxWidth / gridW, boxHeight / gridH, 1.0 / 15});
  auto px = [scale](double twips) { return static_cast<int32_t>(std::lround(twips * scale)); };
  picture.width = std::max(1, px(gridW));
  picture.height = std::max(1, px(gridH));
  picture.back = ResolveColor(setup.backColor, sysColor);

  const CellSize cell{setup.buttonWidth, setup.buttonHeight};
  std::vector<PictureCell> front;
  for (int32_t n = 1; n <= count; ++n) {
    const ButtonLook look = LoadButtonLook(file, n, false, cell, setup.spacingX, setup.spacingY);
    if (look.hidden || IsHideTag(look.tag)) continue;
    const Rect r = CellRect(setup, n);
    PictureCell c;
    c.left = px(r.left);
    c.top = px(r.top);
    c.width = std::max(1, px(static_cast<double>(r.left) + look.width) - c.left);
    c.height = std::max(1, px(static_cast<double>(r.top) + look.height) - c.top);
    c.back = ResolveColor(look.backColor, sysColor);
    c.text = ResolveColor(look.textColor, sysColor);
    c.caption = look.caption;
    (look.toFront ? front : picture.cells).push_back(std::move(c));
  }
  picture.cells.insert(picture.cells.end(), std::make_move_iterator(front.begin()),
                       std::make_move_iterator(front.end()));
  return picture;
}

}  // namespace qv::editor
