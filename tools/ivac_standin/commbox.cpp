// The COMMBox: IvAc's chat window, a top-level "#32770" captioned "COMMBox"
// with the frequency tabs ("SysTabControl32"), the chat history, the
// selected-label field ("Edit" 1004) and the text line ("Edit" 1006). Enter
// in the text line, typed or posted as WM_KEYDOWN, sends the line on the
// selected tab and clears it.
#include "tools/ivac_standin/app.h"
#include "tools/ivac_standin/resource.h"

#include <commctrl.h>

namespace qv::standin {

namespace {

LRESULT CALLBACK TextLineProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        App::Get().OnCommBoxEnter();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == '\r' || wp == '\n') return 0;  // the line went with the key-down
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK CommBoxProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowSubclass(GetDlgItem(hwnd, IDC_COMM_TEXT), TextLineProc, 1, 0);
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* nm = reinterpret_cast<const NMHDR*>(lp);
      // The frequency changes with the notification only: a click on a tab,
      // or TCM_SETCURFOCUS from another program. TCM_SETCURSEL alone moves
      // the highlight and notifies nobody, so the line still goes out on the
      // frequency selected before.
      if (nm->idFrom == IDC_COMM_TABS && nm->code == TCN_SELCHANGE) App::Get().OnTabChanged();
      return TRUE;
    }
    case WM_COMMAND:
      // Enter and Escape reach the text line, not the dialog (no
      // IsDialogMessage for the COMMBox): IDOK and IDCANCEL do nothing.
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
      RemoveWindowSubclass(GetDlgItem(hwnd, IDC_COMM_TEXT), TextLineProc, 1);
      App::Get().OnCommBoxClosed();
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateCommBox(App& app, int x, int y) {
  HWND dialog =
      CreateDialogParamA(app.instance(), MAKEINTRESOURCEA(IDD_COMMBOX), app.main(), CommBoxProc, 0);
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return dialog;
}

void SetCommBoxTabs(HWND commbox, const std::vector<std::string>& names) {
  HWND tabs = GetDlgItem(commbox, IDC_COMM_TABS);
  TabCtrl_DeleteAllItems(tabs);
  std::vector<std::string> all = names;
  for (const char* f : kFixedTabs) all.push_back(f);
  for (size_t i = 0; i < all.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = all[i].data();
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  TabCtrl_SetCurSel(tabs, 0);
}

void ShowCommBoxHistory(HWND commbox, const std::vector<std::string>& lines) {
  HWND list = GetDlgItem(commbox, IDC_COMM_HISTORY);
  FillListBox(list, lines);
  if (!lines.empty()) SendMessageA(list, LB_SETTOPINDEX, lines.size() - 1, 0);
}

}  // namespace qv::standin
