// frmMain, "Quorvex": the panel manager. It lists the panels of the panels
// folder with the selected one's description and a picture of its grid,
// creates, copies and removes panels, runs one (single PC, remote client,
// remote server) in this process or in a new one, opens the data folders,
// starts the Macro Helper and opens the settings and about windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/panel_manager.h"
#include "platform/win32/handles.h"
#include "platform/win32/ui.h"
#include "startup/app.h"

namespace qv::editor {

inline constexpr const char* kManagerClass = "QuorvexManager";

class ManagerWindow : public win::WindowBase {
 public:
  enum ControlId : int {
    kIdLabel1 = 1000,
    kIdList = 1001,
    kIdDescription = 1002,
    kIdFilter = 1003,
    kIdPicture = 1004,
    kIdImage1 = 1005,
    kIdNew = 1010,
    kIdCopy = 1011,
    kIdEdit = 1012,
    kIdRemove = 1013,
    kIdStart = 1014,
    kIdRunClient = 1015,
    kIdRunServer = 1016,
    kIdRunNew = 1017,
    kIdFolder = 1018,
    kIdAppFolder = 1019,
    kIdDataFolder = 1020,
    kIdHelper = 1021,
    kIdConfig = 1022,
  };

  explicit ManagerWindow(App& app) : app_(app) {}

  // Runs a panel, a client panel or the server window inside this process,
  // until that window closes (the entry procedure supplies it).
  std::function<void(RunKind kind)> runHere;

  // Form_Load: builds the window, lists the panels, reads NewInstance.
  bool Load();
  void Show();
  // The window's message loop, with dialog keys; returns when it closes.
  int Run();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void Layout();
  void PrepareList();
  void ShowList();
  void ReselectPanel();
  void SelectName(const std::string& name);
  std::string SelectedName() const;
  void lstMacro_Click();
  void lstMacro_DblClick();
  void CreateAssistant();
  void CopyAssistant();
  void EditAssistant();
  void cmdRemove_Click();
  void RunSelected(RunKind kind);
  void StartProgram(const std::string& arguments);
  void Explore(const std::string& folder);
  void cmdConfig_Click();
  void Image1_Click();
  void Form_Activate();
  void Form_Unload();
  void DrawPicture(const DRAWITEMSTRUCT& d);

  App& app_;
  HWND list_ = nullptr, description_ = nullptr, filter_ = nullptr, picture_ = nullptr;
  HWND image1_ = nullptr, runNew_ = nullptr, start_ = nullptr, tooltip_ = nullptr;
  std::vector<std::string> names_;  // every panel of the folder
  std::vector<std::string> shown_;  // the ones the filter lets through
  PanelPicture panelPicture_;
  win::Font pictureFont_;
  win::Icon icon_;
  bool closed_ = false;
};

}  // namespace qv::editor
