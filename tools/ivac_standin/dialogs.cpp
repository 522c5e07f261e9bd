// IvAc's dialogs and sub-windows, all "#32770" as in IvAc:
// - the selection dialogs: exact captions, a multi-select list,
//   "&OK", "&Cancel", "Select &All", "Select &None";
// - the untitled sub-windows: flight level ("ALL"), speed
//   ("CLEAR" only), fix ("WAYPOINT" static) and controller choice;
// - "Open Color Scheme" with item 1089, a "ComboBoxEx32";
// - "Add Occupied Area" with an "Edit", "OK" and "Cancel".
// Each is modeless, reports to App, and destroys itself when it is done.
#include "tools/ivac_standin/app.h"

#include "platform/text.h"
#include "tools/ivac_standin/resource.h"

#include <commctrl.h>

#include <algorithm>

namespace qv::standin {

namespace {

// Keeps a window on the screen.
void PlaceOnScreen(HWND hwnd, int x, int y) {
  RECT r = ScreenRect(hwnd);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  x = std::clamp(x, 0, std::max(0, sw - w));
  y = std::clamp(y, 0, std::max(0, sh - h));
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

// ---------------------------------------------------------------------------
// Selection dialogs

const SelectionKind* KindOf(HWND hwnd) {
  return reinterpret_cast<const SelectionKind*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

std::vector<std::string> SelectedItems(HWND list) {
  const LRESULT n = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
  std::vector<std::string> items;
  if (n <= 0) return items;
  std::vector<int> indexes(static_cast<size_t>(n));
  SendMessageA(list, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(indexes.data()));
  for (int i : indexes) items.push_back(ListBoxText(list, i));
  return items;
}

INT_PTR CALLBACK SelectionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  App& app = App::Get();
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* kind = reinterpret_cast<const SelectionKind*>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, lp);
      SetText(hwnd, kind->caption);
      HWND list = GetDlgItem(hwnd, IDC_LIST);
      const State& s = app.state();
      const auto items = s.lists.find(kind->code);
      if (items != s.lists.end()) FillListBox(list, items->second);
      const auto chosen = s.chosen.find(kind->code);
      // Saved entries are matched in any case ("eddf" selects EDDF).
      if (items != s.lists.end() && chosen != s.chosen.end())
        for (size_t i = 0; i < items->second.size(); ++i)
          for (const std::string& entry : chosen->second)
            if (EqualsNoCase(entry, items->second[i])) SendMessageA(list, LB_SETSEL, TRUE, i);
      return TRUE;
    }
    case WM_COMMAND: {
      const SelectionKind* kind = KindOf(hwnd);
      HWND list = GetDlgItem(hwnd, IDC_LIST);
      switch (LOWORD(wp)) {
        case IDOK:
          app.OnSelectionConfirmed(kind->code, SelectedItems(list));
          DestroyWindow(hwnd);
          break;
        case IDCANCEL:
          app.OnDialogCancelled(hwnd, kind->code);
          break;
        case IDC_SELECT_ALL:
          SendMessageA(list, LB_SETSEL, TRUE, -1);
          app.OnSelectionButton(kind->code, "Select All");
          break;
        case IDC_SELECT_NONE:
          SendMessageA(list, LB_SETSEL, FALSE, -1);
          app.OnSelectionButton(kind->code, "Select None");
          break;
      }
      return TRUE;
    }
    case WM_CLOSE:
      SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    case WM_DESTROY:
      app.RemoveDialog(hwnd);
      app.OnSelectionClosed(KindOf(hwnd)->code);
      return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------
// Sub-windows

SubWindow SubKindOf(HWND hwnd) {
  return static_cast<SubWindow>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

const std::vector<std::string>& SubItems(const State& s, SubWindow kind) {
  switch (kind) {
    case SubWindow::kLevel:
      return s.levels;
    case SubWindow::kSpeed:
      return s.speeds;
    case SubWindow::kFix:
      return s.route;
    default:
      return s.atc;
  }
}

std::string SubTitle(SubWindow kind, const std::string& callsign) {
  switch (kind) {
    case SubWindow::kLevel:
      return callsign + " level";
    case SubWindow::kSpeed:
      return callsign + " speed";
    case SubWindow::kFix:
      return callsign + " direct to";
    default:
      return "Transfer " + callsign + " to";
  }
}

void CloseSub(HWND hwnd, std::string_view reason) {
  App::Get().OnSubWindowClosed(hwnd, reason);
  DestroyWindow(hwnd);
}

// OK on a list: the entry selected in it, if any.
void ConfirmList(HWND hwnd) {
  App& app = App::Get();
  HWND list = GetDlgItem(hwnd, IDC_LIST);
  const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (sel == LB_ERR) {
    CloseSub(hwnd, "OK with nothing selected");
    return;
  }
  app.OnSubWindowValue(SubKindOf(hwnd), "list", ListBoxText(list, static_cast<int>(sel)));
  CloseSub(hwnd, "OK");
}

INT_PTR CALLBACK SubWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  App& app = App::Get();
  switch (msg) {
    case WM_INITDIALOG: {
      const auto kind = static_cast<SubWindow>(lp);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, lp);
      SetText(GetDlgItem(hwnd, IDC_TITLE), SubTitle(kind, app.sub_callsign()));
      HWND list = GetDlgItem(hwnd, IDC_LIST);
      FillListBox(list, SubItems(app.state(), kind));
      // The level and speed lists start on the value cleared before, if any;
      // otherwise nothing is selected.
      const auto it = app.labels().find(app.sub_callsign());
      if (it != app.labels().end()) {
        const std::string& current = kind == SubWindow::kLevel   ? it->second.level
                                     : kind == SubWindow::kSpeed ? it->second.speed
                                                                 : std::string();
        if (!current.empty()) {
          const LRESULT at = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(current.c_str()));
          if (at != LB_ERR) SendMessageA(list, LB_SETCURSEL, at, 0);
        }
      }
      return TRUE;
    }
    case WM_COMMAND: {
      const SubWindow kind = SubKindOf(hwnd);
      switch (LOWORD(wp)) {
        case IDC_LIST:
          if (HIWORD(wp) == LBN_DBLCLK) ConfirmList(hwnd);
          break;
        case IDOK:
          ConfirmList(hwnd);
          break;
        case IDC_ENTER: {
          const std::string text = WindowText(GetDlgItem(hwnd, IDC_FIX_EDIT));
          if (text.empty()) {
            CloseSub(hwnd, "ENTER with nothing typed");
            break;
          }
          app.OnSubWindowValue(kind, "edit", text);
          CloseSub(hwnd, "ENTER");
          break;
        }
        case IDC_CLEAR:
          app.OnSubWindowClear(kind);
          CloseSub(hwnd, "CLEAR");
          break;
        case IDC_ALL:
          FillListBox(GetDlgItem(hwnd, IDC_LIST), SubItems(app.state(), kind));
          app.OnSubWindowAll();
          break;
        case IDCANCEL:
          CloseSub(hwnd, "cancelled");
          break;
      }
      return TRUE;
    }
    case WM_CLOSE:
      CloseSub(hwnd, "closed");
      return TRUE;
    case WM_DESTROY:
      app.RemoveDialog(hwnd);
      app.OnSubWindowClosed(hwnd, "destroyed");  // no-op when it was closed above
      return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------
// Colour scheme

HWND SchemeEdit(HWND dialog) {
  return reinterpret_cast<HWND>(SendDlgItemMessageA(dialog, IDC_SCHEME, CBEM_GETEDITCONTROL, 0, 0));
}

INT_PTR CALLBACK ColourSchemeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM) {
  App& app = App::Get();
  switch (msg) {
    case WM_INITDIALOG: {
      HWND box = GetDlgItem(hwnd, IDC_SCHEME);
      const State& s = app.state();
      for (const std::string& name : s.schemes) {
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT;
        item.iItem = -1;
        item.pszText = const_cast<char*>(name.c_str());
        SendMessageA(box, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      }
      // The dialog shows the scheme in use.
      SetText(SchemeEdit(hwnd), s.scheme);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          app.OnColourSchemeConfirmed(WindowText(SchemeEdit(hwnd)));
          DestroyWindow(hwnd);
          break;
        case IDCANCEL:
          app.OnDialogCancelled(hwnd, "SCHEME");
          break;
      }
      return TRUE;
    case WM_CLOSE:
      SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    case WM_DESTROY:
      app.RemoveDialog(hwnd);
      app.OnColourSchemeClosed();
      return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------
// Occupied area

INT_PTR CALLBACK OccupiedAreaProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  App& app = App::Get();
  switch (msg) {
    case WM_INITDIALOG: {
      const POINT* at = reinterpret_cast<const POINT*>(lp);
      SetText(GetDlgItem(hwnd, IDC_TITLE),
              "New area at the point " + std::to_string(at->x) + ", " + std::to_string(at->y));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          if (app.OnOccupiedAreaConfirmed(WindowText(GetDlgItem(hwnd, IDC_AREA_NAME)))) {
            DestroyWindow(hwnd);
          } else {
            // An area needs a name: the dialog stays open.
            app.Log("occupied_area_refused", {{"reason", "no name"}});
            MessageBeep(MB_ICONWARNING);
            SetFocus(GetDlgItem(hwnd, IDC_AREA_NAME));
          }
          break;
        case IDCANCEL:
          app.OnDialogCancelled(hwnd, "AREA");
          break;
      }
      return TRUE;
    case WM_CLOSE:
      SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    case WM_DESTROY:
      app.RemoveDialog(hwnd);
      app.OnOccupiedAreaClosed();
      return TRUE;
  }
  return FALSE;
}

HWND MakeDialog(App& app, int template_id, DLGPROC proc, LPARAM param) {
  HWND dialog =
      CreateDialogParamA(app.instance(), MAKEINTRESOURCEA(template_id), app.main(), proc, param);
  app.AddDialog(dialog);
  return dialog;
}

}  // namespace

HWND CreateSelectionDialog(App& app, const SelectionKind& kind) {
  HWND dialog = MakeDialog(app, IDD_SELECTION, SelectionProc, reinterpret_cast<LPARAM>(&kind));
  // Cascaded over the map, one step per kind, so that two open dialogs differ.
  const int step = static_cast<int>(&kind - kSelectionKinds);
  const RECT m = ScreenRect(app.main());
  PlaceOnScreen(dialog, m.left + Scale(80 + 24 * step), m.top + Scale(120 + 18 * step));
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

HWND CreateSubWindow(App& app, SubWindow kind, const std::string& callsign) {
  static const int kTemplates[] = {0, IDD_LEVEL, IDD_SPEED, IDD_FIX, IDD_ATC};
  HWND dialog =
      MakeDialog(app, kTemplates[static_cast<int>(kind)], SubWindowProc, static_cast<LPARAM>(kind));
  // Beside the label it acts on.
  const POINT p = LabelScreenPoint(app.radar(), app.state(), callsign);
  PlaceOnScreen(dialog, p.x + Scale(130), p.y - Scale(40));
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

HWND CreateColourSchemeDialog(App& app) {
  HWND dialog = MakeDialog(app, IDD_COLOUR_SCHEME, ColourSchemeProc, 0);
  const RECT m = ScreenRect(app.main());
  PlaceOnScreen(dialog, m.left + Scale(200), m.top + Scale(160));
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

HWND CreateOccupiedAreaDialog(App& app, POINT at) {
  HWND dialog = MakeDialog(app, IDD_OCCUPIED_AREA, OccupiedAreaProc, reinterpret_cast<LPARAM>(&at));
  PlaceOnScreen(dialog, at.x + Scale(40), at.y + Scale(20));
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

}  // namespace qv::standin
