// The In/Out window: a top-level "#32770" captioned "In/Out" holding a
// "SysListView32" in report view with the traffic of the controller's in/out
// list. Quorvex reads it from its own process, so the list view
// must live here, in the stand-in's process.
#include "tools/ivac_standin/app.h"
#include "tools/ivac_standin/resource.h"

#include <commctrl.h>

namespace qv::standin {

namespace {

INT_PTR CALLBACK InOutProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      ListView_SetExtendedListViewStyle(GetDlgItem(hwnd, IDC_INOUT_LIST),
                                        LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
      return FALSE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
      App::Get().RemoveDialog(hwnd);
      App::Get().OnInOutClosed();
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateInOut(App& app, int x, int y) {
  HWND dialog =
      CreateDialogParamA(app.instance(), MAKEINTRESOURCEA(IDD_INOUT), app.main(), InOutProc, 0);
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  app.AddDialog(dialog);
  return dialog;
}

void FillInOut(HWND inout, const State& state) {
  HWND list = GetDlgItem(inout, IDC_INOUT_LIST);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  while (ListView_DeleteColumn(list, 0)) {
  }
  RECT rc;
  GetClientRect(list, &rc);
  const int columns = static_cast<int>(state.inout_columns.size());
  for (int c = 0; c < columns; ++c) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(state.inout_columns[c].c_str());
    col.cx = std::max(Scale(40), static_cast<int>(rc.right - Scale(4)) / std::max(columns, 1));
    col.iSubItem = c;
    SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
  }
  for (size_t r = 0; r < state.inout_rows.size(); ++r) {
    const auto& row = state.inout_rows[r];
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(r);
    item.pszText = const_cast<char*>(row.empty() ? "" : row[0].c_str());
    const int at =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int c = 1; c < columns && c < static_cast<int>(row.size()); ++c) {
      LVITEMA sub{};
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(row[c].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&sub));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace qv::standin
