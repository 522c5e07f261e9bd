#include "panels/win32/cmenu.h"

namespace qv::panels {

CMenu::CMenu() : menu_(CreatePopupMenu()) {}

CMenu::~CMenu() {
  // A submenu belongs to its own object, which destroys it: detach it first,
  // or destroying this menu would destroy it too, and its object would then
  // destroy a handle that is no longer its own.
  HMENU m = menu_.Get();
  for (int i = GetMenuItemCount(m) - 1; i >= 0; --i)
    if (GetSubMenu(m, i)) RemoveMenu(m, static_cast<UINT>(i), MF_BYPOSITION);
}

void CMenu::AddItem(int32_t id, const std::string& text, bool isDefault, bool checked,
                    bool disabled, bool grayed, bool barBreak) {
  HMENU m = menu_.Get();
  if (text == "-") {
    AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  } else {
    UINT flags = MF_STRING;
    if (checked) flags |= MF_CHECKED;
    if (barBreak) flags |= MF_MENUBARBREAK;
    AppendMenuA(m, flags, static_cast<UINT_PTR>(static_cast<uint32_t>(id)), text.c_str());
  }
  if (isDefault) SetMenuDefaultItem(m, static_cast<UINT>(id), FALSE);
  if (grayed) EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | MF_GRAYED);
  if (disabled) EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | MF_DISABLED);
}

void CMenu::AddSubmenu(const CMenu& sub, bool isDefault, bool disabled, bool grayed,
                       bool barBreak) {
  HMENU m = menu_.Get();
  UINT flags = MF_POPUP;
  if (barBreak) flags |= MF_MENUBARBREAK;
  const auto id = reinterpret_cast<UINT_PTR>(sub.Handle());
  AppendMenuA(m, flags, id, sub.caption.c_str());
  if (isDefault) SetMenuDefaultItem(m, static_cast<UINT>(id), FALSE);
  if (grayed) EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | MF_GRAYED);
  if (disabled) EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | MF_DISABLED);
}

HWND FirstWindowOfProcess() {
  const DWORD self = GetCurrentProcessId();
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == self) return w;
  }
  return nullptr;
}

int32_t CMenu::TrackPopup(HWND owner, int x, int y, HWND alignment, std::string* error) const {
  if (owner == nullptr || owner == kNoAlignment) owner = FirstWindowOfProcess();
  if (!owner) {
    if (error) *error = kNoOwnerText;
    return 0;
  }
  POINT pt{x, y};
  if (alignment != kNoAlignment) {
    RECT r{};
    GetWindowRect(alignment, &r);
    pt = POINT{r.left, r.bottom};
  } else if (x == -1 || y == -1) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (x == -1) pt.x = cursor.x;
    if (y == -1) pt.y = cursor.y;
  }
  return static_cast<int32_t>(
      TrackPopupMenu(menu_.Get(), TPM_RETURNCMD, pt.x, pt.y, 0, owner, nullptr));
}

}  // namespace qv::panels
