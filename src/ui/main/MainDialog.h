// The plug-in's main window: the icon grid being edited, its thirteen cells on the painted
// panel, the selection radios, the document and grid buttons, the menu bar and the tabs. It is
// a frame run modally by hand, since a dialog can't carry a working menu bar on every toolkit.
// Apply stores the selection for the host and closes with OK; Done, Esc and the close box
// close with Cancel.
#pragma once

#include <wx/evtloop.h>
#include <wx/frame.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "host/HostContext.h"
#include "model/ColorTable.h"
#include "model/GridSlot.h"
#include "model/ResourceGrid.h"
#include "model/WorkingDocument.h"
#include "platform/Desktop.h"
#include "ui/views/GridCell.h"
#include "ui/views/LayerView.h"
#include "ui/views/PageOwner.h"
#include "ui/views/PageTabs.h"

class wxPanel;

namespace pictaro {

class GridPanel;

// Result codes of the window, also the ids of Apply and Done.
enum MainDialogId {
  kIdApply = 1,  // the OK result
  kIdDone = 2,   // the Cancel result
};

class MainDialog : public wxFrame, public PageOwner {
 public:
  static constexpr int kCellCount = 13;
  // The cells' control ids, in the order of `slots` and `cells`.
  static constexpr std::array<int, kCellCount> kCellIds = {1018, 1022, 1026, 1019, 1023, 1027, 1020,
                                                           1024, 1028, 1021, 1025, 1029, 1038};

  // The options are kept between runs in `settingsFolder`.
  MainDialog(HostContext& host, Desktop& desktop, std::filesystem::path settingsFolder);
  ~MainDialog() override;

  // Shows the window and runs its own event loop until EndModal; returns the code given to
  // EndModal (kIdApply or kIdDone).
  int RunModal();
  void EndModal(int code);
  bool IsModalRunning() const { return loop_ != nullptr; }

  // The commands, callable by tests as by the buttons.
  void OnOK();
  void OnCancel();

  // Operations the commands share.
  void UpdateSelectionControls() override;
  void HighlightCurrentCell();
  void ShowCurrentSlot() override;
  void RefreshViews() override;
  void RedrawGrid();
  void ApplyBackgroundColor();
  bool ConfirmDiscard() { return document.ConfirmDiscard(); }

  // Grid commands.
  void SelectSlot(const GridSlot& slot);
  void SelectByRadio(int radioId);
  void BuildGrid();
  void ClearGrid();
  void DeleteCurrent() override;
  void CaptureCurrent() override;

  // Document commands; each ends by showing the document's state.
  void NewDocument();
  void OpenDocument();
  void SaveDocument();
  void SaveDocumentAs();
  void LoadWorkingFile();

  // Options.
  void LoadSettings();
  void SaveSettings();
  void CycleBackground();
  void ChooseBackgroundColor();
  void LoadCustomColorTable();

  // Sets the check marks and enabled states of a drop-down's items.
  void RefreshMenuStates(wxMenu& menu);

  // PageOwner
  const ResourceGrid& Grid() const override { return grid; }
  GridSlot& CurrentSlot() override { return currentSlot; }
  HostContext& Host() override { return host_; }
  Desktop& GetDesktop() override { return desktop_; }

  PageTabs* pageTabs = nullptr;
  LayerView* layerView = nullptr;
  GridCell* previewCell = nullptr;
  GridSlot currentSlot;
  std::array<GridSlot, kCellCount> slots;
  std::array<GridCell*, kCellCount> cells{};
  GridPanel* gridPanel = nullptr;
  bool showToolTips = true;
  bool pngCompression = false;
  std::uint32_t backgroundColor = 0xFFFFFF;
  std::array<std::uint32_t, 16> BackgroundColors = {
      0xFFA055, 0xB8501A, 0xF7DFD6, 0xE0977B, 0xEC5C00, 0xFEFCFC, 0xD8E9EC, 0x7F7F40,
      0xF1F1F1, 0xFDEDD2, 0x102018, 0x333333, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF};
  int backgroundIndex = 15;
  ResourceGrid grid;
  // The working file (`workingPath`, `workingName`) and the commands on it.
  WorkingDocument document;
  bool useCustomTable = true;
  ColorTable customTable;
  bool generateTableAutomatically = true;

 private:
  void OnInitDialog();
  void DefineSlots();
  void AttachCells();
  // Gives the window's own controls their tips, or takes them away while `showToolTips` is
  // off; the option's command runs it again.
  void CreateToolTips();
  void ShowDocument();
  void OnCommand(wxCommandEvent& event);
  void OnMenuOpen(wxMenuEvent& event);
  void OnMenuClose(wxMenuEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  HostContext& host_;
  Desktop& desktop_;
  std::filesystem::path settingsFolder_;
  wxPanel* root_ = nullptr;
  wxGUIEventLoop* loop_ = nullptr;
  int modalCode_ = kIdDone;
  // Drop-downs of the menu bar open now; the window's keys wait while there are any.
  int openMenus_ = 0;
};

}  // namespace pictaro
