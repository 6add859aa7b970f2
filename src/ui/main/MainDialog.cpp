#include "ui/main/MainDialog.h"

#include <wx/button.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/radiobut.h>

#include "host/FilterParameters.h"
#include "model/ActFile.h"
#include "model/CellPicture.h"
#include "model/SettingsRecord.h"
#include "platform/SettingsStore.h"
#include "platform/WebPages.h"
#include "resources/DialogTemplates.h"
#include "ui/main/GridPanel.h"
#include "ui/main/SmallDialogs.h"
#include "ui/main/WxDesktop.h"
#include "ui/views/DialogBuilder.h"

namespace pictaro {
namespace {

using namespace main_ids;

constexpr ToolTipText kToolTips[] = {
    {1018, "16x16 pixels with 16 colors"},
    {1022, "16x16 pixels with 256 colors"},
    {1026, "16x16 pixels with true color"},
    {1019, "24x24 pixels with 16 colors"},
    {1023, "24x24 pixels with 256 colors"},
    {1027, "24x24 pixels with true color"},
    {1020, "32x32 pixels with 16 colors"},
    {1024, "32x32 pixels with 256 colors"},
    {1028, "32x32 pixels with true color"},
    {1021, "48x48 pixels with 16 colors"},
    {1025, "48x48 pixels with 256 colors"},
    {1029, "48x48 pixels with true color"},
    {1038, "256x256 pixels with true color"},
    {kBuild, "Build entire grid, all of same size (shift), all of same depth (control)"},
    {kClear, "Clear entire grid"},
    {kNew, "Empty the resource grid and create a new icon"},
    {kOpen, "Load an existing icon file into the resource grid"},
    {kSave, "Save the current resource grid in an icon file"},
    {kCycle, "Cycle forward through background colors, or backwards (shift)"},
    {kApply, "Save the current icon resource in the Photoshop layer"},
    {kDone, "Return to Photoshop"},
    {kLogo, "Learn more about Pictaro"},
};

bool IsCellId(int id) {
  for (int cell : MainDialog::kCellIds) {
    if (cell == id) return true;
  }
  return false;
}

void CheckRadio(wxWindow& window, int id) {
  if (auto* radio = dynamic_cast<wxRadioButton*>(window.FindWindow(id))) radio->SetValue(true);
}

}  // namespace

MainDialog::MainDialog(HostContext& host, Desktop& desktop, std::filesystem::path settingsFolder)
    // A modal window of a fixed layout: no resizing, no maximise or minimise box.
    : wxFrame(nullptr, wxID_ANY, "Pictaro", wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE & ~(wxRESIZE_BORDER | wxMAXIMIZE_BOX | wxMINIMIZE_BOX)),
      document(grid, desktop),
      host_(host),
      desktop_(desktop),
      settingsFolder_(std::move(settingsFolder)) {
  document.workingPath = DefaultWorkingFolder();
  customTable = GreyRampTable();

  const DialogTemplate& layout = *FindDialogTemplate(kMainDialog);
  SetMenuBar(BuildMenuBar(*FindMenuTemplate(layout.menu)));
  root_ = new wxPanel(this, wxID_ANY);
  root_->SetFont(DialogFont());
  BuildControls(
      root_, layout,
      [this](wxWindow* parent, const ControlTemplate& c, const wxRect& rect) -> wxWindow* {
        if (c.id == kGridPanel) {
          gridPanel = new GridPanel(parent, c.id, rect.GetPosition(), rect.GetSize());
          return gridPanel;
        }
        if (c.id == kTabs) {
          pageTabs = new PageTabs(parent, c.id, rect.GetPosition(), rect.GetSize());
          return pageTabs;
        }
        return new GridCell(parent, c.id, rect.GetPosition(), rect.GetSize());
      },
      kGridPanel);
  SetClientSize(DialogClientSize(layout));
  CentreOnScreen();

  Bind(wxEVT_BUTTON, &MainDialog::OnCommand, this);
  Bind(wxEVT_RADIOBUTTON, &MainDialog::OnCommand, this);
  Bind(wxEVT_MENU, &MainDialog::OnCommand, this);
  Bind(wxEVT_MENU_OPEN, &MainDialog::OnMenuOpen, this);
  Bind(wxEVT_MENU_CLOSE, &MainDialog::OnMenuClose, this);
  Bind(wxEVT_CHAR_HOOK, &MainDialog::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &MainDialog::OnClose, this);

  OnInitDialog();
  // Enter presses Apply, which starts with the focus, as the default button of a dialog.
  if (auto* apply = dynamic_cast<wxButton*>(FindWindow(kApply))) {
    SetDefaultItem(apply);
    apply->SetFocus();
  }
}

MainDialog::~MainDialog() {
  // The children still exist here; the options outlast the window, however it closed.
  SaveSettings();
}

void MainDialog::OnInitDialog() {
  pageTabs->CreatePages(*this);
  pageTabs->ShowSelectedPage();

  layerView = pageTabs->capturePage->View();
  layerView->SetSlot(&currentSlot);
  layerView->window.useCustomTable = useCustomTable;
  layerView->window.autoTable = generateTableAutomatically;
  previewCell = pageTabs->previewPage->Cell();
  previewCell->SetSlot(&currentSlot);
  previewCell->SetGrid(&grid);

  DefineSlots();
  AttachCells();

  LoadSettings();
  layerView->SetOwner(this);
  LoadWorkingFile();

  ApplyBackgroundColor();
  UpdateSelectionControls();
  HighlightCurrentCell();
  RefreshViews();
  pageTabs->previewPage->UpdateViewModeRadios();
  CreateToolTips();
  pageTabs->verifyPage->RefreshReport();
}

void MainDialog::DefineSlots() {
  for (int i = 0; i < kCellCount; ++i) {
    const std::uint32_t size = i == 12 ? 4 : static_cast<std::uint32_t>(i / 3);
    const std::uint32_t depth = i == 12 ? 2 : static_cast<std::uint32_t>(i % 3);
    slots[i] = GridSlot(size, depth, depth == 2 ? 1 : 0);
  }
}

void MainDialog::AttachCells() {
  const DialogTemplate& layout = *FindDialogTemplate(kMainDialog);
  for (int i = 0; i < kCellCount; ++i) {
    cells[i] = dynamic_cast<GridCell*>(FindWindow(kCellIds[i]));
    cells[i]->SetSlot(&slots[i]);
    cells[i]->SetGrid(&grid);
    // The image area is exactly the resource; the frame takes 3 pixels on each side.
    const int side = (static_cast<int>(slots[i].PixelSize()) + 6) * PixelFactor();
    FitPixelPart(*cells[i], layout, wxSize(side, side));
  }
}

void MainDialog::CreateToolTips() {
  // GTK ignores wxToolTip::Enable, which would switch the pages' tips as well: the option
  // gives or takes the main window's own tips control by control.
  for (const ToolTipText& tip : kToolTips) {
    wxWindow* control = FindWindow(tip.id);
    if (control == nullptr) continue;
    if (showToolTips) {
      control->SetToolTip(tip.text);
    } else {
      control->UnsetToolTip();
    }
  }
}

void MainDialog::UpdateSelectionControls() {
  // Checking one radio of a group unchecks the others.
  CheckRadio(*this, currentSlot.SizeRadioId());
  CheckRadio(*this, currentSlot.DepthRadioId());
  CheckRadio(*this, currentSlot.MaskRadioId());
}

void MainDialog::HighlightCurrentCell() {
  for (GridCell* cell : cells) cell->SetSelected(0);
  GridCell* current = nullptr;
  if (currentSlot.sizeIndex == 4) {
    current = cells[12];
  } else if (currentSlot.sizeIndex < 4) {
    const int column = currentSlot.depthIndex == 1 ? 1 : currentSlot.depthIndex == 2 ? 2 : 0;
    current = cells[currentSlot.sizeIndex * 3 + column];
  }
  if (current != nullptr) current->SetSelected(1);
}

void MainDialog::ShowCurrentSlot() {
  UpdateSelectionControls();
  HighlightCurrentCell();
}

void MainDialog::RefreshViews() {
  layerView->Relayout();
  previewCell->Redraw();
  pageTabs->verifyPage->RefreshReport();
}

void MainDialog::RedrawGrid() {
  previewCell->Redraw();
  for (GridCell* cell : cells) cell->Redraw();
  pageTabs->verifyPage->RefreshReport();
}

void MainDialog::ApplyBackgroundColor() {
  layerView->SetBackgroundColor(backgroundColor);
  previewCell->SetBackgroundColor(backgroundColor);
  for (GridCell* cell : cells) cell->SetBackgroundColor(backgroundColor);
  // The labels, radios and buttons on the panel are drawn over its bands, so repainting the
  // panel with its children gives them the bands' colour as well.
  gridPanel->SetColor(backgroundColor);
  gridPanel->Refresh(true);
}

void MainDialog::SelectSlot(const GridSlot& slot) {
  currentSlot.CopyFrom(slot, false);
  ShowCurrentSlot();
  RefreshViews();
}

void MainDialog::SelectByRadio(int radioId) {
  if (!pictaro::SelectByRadio(currentSlot, radioId)) return;
  ShowCurrentSlot();
  RefreshViews();
}

void MainDialog::BuildGrid() {
  // The keys as they are now, not as they were when the click was queued.
  const bool shift = desktop_.ShiftDown();
  const bool ctrl = desktop_.ControlDown();
  layerView->window.Build(host_, currentSlot, BuildSlots(currentSlot, shift, ctrl), grid, desktop_);
  // Highlighting the current cell redraws all thirteen with what was captured.
  RefreshViews();
  ShowCurrentSlot();
}

void MainDialog::ClearGrid() {
  grid.Clear();
  RedrawGrid();
}

void MainDialog::DeleteCurrent() {
  grid.ClearResource(currentSlot);
  RefreshViews();
  HighlightCurrentCell();
}

void MainDialog::CaptureCurrent() {
  layerView->window.CaptureResource(host_, currentSlot, grid, desktop_);
  ShowCurrentSlot();
  RefreshViews();
}

void MainDialog::ShowDocument() {
  if (wxWindow* label = FindWindow(kWorkingName)) {
    label->SetLabel(wxString::FromUTF8(document.shownName));
  }
  RedrawGrid();
}

void MainDialog::NewDocument() {
  document.New();
  ShowDocument();
}

void MainDialog::OpenDocument() {
  document.Open();
  ShowDocument();
}

void MainDialog::SaveDocument() {
  document.Save();
  ShowDocument();
}

void MainDialog::SaveDocumentAs() {
  document.SaveWorkingFileAs();
  ShowDocument();
}

void MainDialog::LoadWorkingFile() {
  document.LoadWorkingFile();
  ShowDocument();
}

void MainDialog::LoadSettings() {
  const SettingsRead read = SettingsStore(settingsFolder_).Read(kSettingsRecordSize);
  const std::optional<SettingsRecord> record = DecodeSettings(read.data);
  if (!record) {
    pageTabs->SetTabIndex(0);
    pageTabs->ShowSelectedPage();
    if (read.error != kSettingsNotFound) {
      desktop_.ShowMessage(SettingsReadMessage(read), kAppTitle, MessageIcon::Exclamation,
                           MessageButtons::Ok);
    }
    return;
  }
  // The view mode always starts as both.
  currentSlot = GridSlot(record->sizeIndex, record->depthIndex, record->maskIndex, 0);
  document.workingName = record->workingName;
  document.workingPath = record->workingPath;
  backgroundColor = record->backgroundColor;
  BackgroundColors = record->backgroundColors;
  backgroundIndex = record->backgroundIndex;
  LayerWindow& view = layerView->window;
  view.gridPositions = record->gridPositions;
  useCustomTable = record->useCustomTable;
  view.useCustomTable = useCustomTable;
  customTable = record->customTable;
  view.customTable = customTable;
  generateTableAutomatically = record->generateTableAutomatically;
  view.autoTable = generateTableAutomatically;
  showToolTips = record->showToolTips;
  view.samePosition = record->samePosition;
  layerView->Redraw();
  pngCompression = record->pngCompression;
  grid.SetPngCompression(pngCompression ? 1 : 0);
  pageTabs->SetTabIndex(static_cast<int>(record->tabIndex));
  pageTabs->ShowSelectedPage();
}

void MainDialog::SaveSettings() {
  SettingsRecord record;
  record.depthIndex = currentSlot.depthIndex;
  record.maskIndex = currentSlot.maskIndex;
  record.sizeIndex = currentSlot.sizeIndex;
  record.viewMode = currentSlot.viewMode;
  record.workingName = document.workingName;
  record.workingPath = document.workingPath;
  record.backgroundColor = backgroundColor;
  record.backgroundColors = BackgroundColors;
  record.backgroundIndex = backgroundIndex;
  record.gridPositions = layerView->window.gridPositions;
  record.useCustomTable = useCustomTable;
  record.customTable = customTable;
  record.generateTableAutomatically = generateTableAutomatically;
  record.showToolTips = showToolTips;
  record.samePosition = layerView->window.samePosition;
  record.pngCompression = pngCompression;
  record.tabIndex = static_cast<std::uint32_t>(pageTabs->TabIndex());
  // A settings file that can't be written costs only the options.
  SettingsStore(settingsFolder_).Write(EncodeSettings(record));
}

void MainDialog::CycleBackground() {
  // A stored index may lie anywhere; the list wraps both ways.
  const int step = desktop_.ShiftDown() ? -1 : 1;
  backgroundIndex = ((backgroundIndex + step) % 16 + 16) % 16;
  backgroundColor = BackgroundColors[static_cast<std::size_t>(backgroundIndex)];
  ApplyBackgroundColor();
  RefreshViews();
  HighlightCurrentCell();
}

void MainDialog::ChooseBackgroundColor() {
  if (auto chosen = desktop_.ChooseColor(backgroundColor, BackgroundColors)) {
    backgroundColor = *chosen;
  }
  ApplyBackgroundColor();
  RefreshViews();
  HighlightCurrentCell();
}

void MainDialog::LoadCustomColorTable() {
  FileRequest request;
  request.defaultExtension = "act";
  request.filter = "Photoshop Color Tables (*.act)|*.act|All Files (*.*)|*.*||";
  request.initialFolder = document.workingPath;
  const std::optional<std::string> chosen = desktop_.ChooseFile(request);
  if (!chosen) return;
  switch (ReadActFile(*chosen, customTable)) {
    case ActRead::Loaded:
      useCustomTable = true;
      break;
    case ActRead::CannotOpen:
      desktop_.ShowMessage("Can't open color table file", kAppTitle, MessageIcon::None,
                           MessageButtons::Ok);
      useCustomTable = false;
      break;
    case ActRead::TooShort:
      desktop_.ShowMessage(kActTooShortMessage, kAppTitle, MessageIcon::None, MessageButtons::Ok);
      useCustomTable = false;
      break;
  }
  LayerWindow& view = layerView->window;
  view.useCustomTable = useCustomTable;
  view.customTable = customTable;
  if (useCustomTable) {
    // The loaded table is not to be overwritten by the automatic one.
    generateTableAutomatically = false;
    view.autoTable = false;
  }
  layerView->Relayout();
}

void MainDialog::RefreshMenuStates(wxMenu& menu) {
  for (wxMenuItem* item : menu.GetMenuItems()) {
    if (item->IsSeparator()) continue;
    switch (item->GetId()) {
      case WxMenuId(menu_ids::kShowToolTips):
        item->Check(showToolTips);
        break;
      case WxMenuId(menu_ids::kBackgroundColors):
        item->Enable(true);
        break;
      case WxMenuId(menu_ids::kUseCustomTable):
        item->Check(useCustomTable);
        break;
      case WxMenuId(menu_ids::kSetCustomTable):
        item->Enable(useCustomTable);
        break;
      case WxMenuId(menu_ids::kGenerateTable):
        item->Enable(useCustomTable);
        item->Check(generateTableAutomatically);
        break;
      case WxMenuId(menu_ids::kSamePosition):
        item->Check(layerView->window.samePosition);
        break;
      case WxMenuId(menu_ids::kPngCompression):
        item->Check(pngCompression);
        break;
      default:
        break;
    }
  }
}

void MainDialog::OnCharHook(wxKeyEvent& event) {
  // Seen once per key press, whichever control of the window has the focus; the key then
  // goes on to that control. While a drop-down of the menu bar is open its keys are its own:
  // Esc only closes it. Esc is taken here rather than as an accelerator, since the window's
  // accelerators see the keys of a drop-down opened with the mouse.
  if (openMenus_ > 0) {
    event.Skip();
    return;
  }
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      if (!event.HasAnyModifiers()) {
        OnCancel();
        return;
      }
      break;
    // With NumLock off the number pad's keys are Delete and Insert too.
    case WXK_DELETE:
    case WXK_NUMPAD_DELETE:
      DeleteCurrent();
      break;
    case WXK_INSERT:
    case WXK_NUMPAD_INSERT:
      CaptureCurrent();
      break;
    default:
      break;
  }
  event.Skip();
}

void MainDialog::OnMenuOpen(wxMenuEvent& event) {
  // Moving along the bar may open the next drop-down before the last one closes.
  ++openMenus_;
  if (wxMenu* menu = event.GetMenu()) RefreshMenuStates(*menu);
  event.Skip();
}

void MainDialog::OnMenuClose(wxMenuEvent& event) {
  if (openMenus_ > 0) --openMenus_;
  event.Skip();
}

void MainDialog::OnCommand(wxCommandEvent& event) {
  const int id = event.GetId();
  GridSlot scratch;
  if (pictaro::SelectByRadio(scratch, id)) {
    // Every click counts, also on the radio that is already checked.
    SelectByRadio(id);
    return;
  }
  if (IsCellId(id)) {
    if (auto* cell = dynamic_cast<GridCell*>(event.GetEventObject()); cell && cell->GetSlot()) {
      SelectSlot(*cell->GetSlot());
    }
    return;
  }
  switch (id) {
    case kApply:
      OnOK();
      break;
    case kDone:
      OnCancel();
      break;
    case kCycle:
      CycleBackground();
      break;
    case kBuild:
      BuildGrid();
      break;
    case kClear:
      ClearGrid();
      break;
    case kNew:
    case WxMenuId(menu_ids::kNew):
      NewDocument();
      break;
    case kOpen:
    case WxMenuId(menu_ids::kOpen):
      OpenDocument();
      break;
    case kSave:
    case WxMenuId(menu_ids::kSave):
      SaveDocument();
      break;
    case kSaveAs:
    case WxMenuId(menu_ids::kSaveAs):
      SaveDocumentAs();
      break;
    case WxMenuId(menu_ids::kSetCustomTable):
      LoadCustomColorTable();
      break;
    case kLogo:
      ShowAboutDialog(this);
      break;
    case WxMenuId(menu_ids::kShowToolTips):
      showToolTips = !showToolTips;
      CreateToolTips();
      break;
    case WxMenuId(menu_ids::kBackgroundColors):
      ChooseBackgroundColor();
      break;
    case WxMenuId(menu_ids::kUseCustomTable):
      useCustomTable = !useCustomTable;
      layerView->window.useCustomTable = useCustomTable;
      layerView->Relayout();
      break;
    case WxMenuId(menu_ids::kGenerateTable):
      generateTableAutomatically = !generateTableAutomatically;
      layerView->window.autoTable = generateTableAutomatically;
      layerView->Relayout();
      break;
    case WxMenuId(menu_ids::kSamePosition):
      layerView->window.samePosition = !layerView->window.samePosition;
      layerView->Relayout();
      break;
    case WxMenuId(menu_ids::kPngCompression):
      pngCompression = !pngCompression;
      grid.SetPngCompression(pngCompression ? 1 : 0);
      break;
    default:
      // A page that can't be opened fails silently.
      if (const std::string address = WebPageAddress(TemplateMenuId(id)); !address.empty()) {
        desktop_.OpenUrl(address);
      } else {
        event.Skip();
      }
  }
}

int MainDialog::RunModal() {
  Show();
  Raise();
  wxWindowDisabler disabler(this);
  wxGUIEventLoop loop;
  // An exception from a handler leaves the loop too: the window must not keep the loop.
  struct LoopLease {
    MainDialog& window;
    ~LoopLease() {
      window.loop_ = nullptr;
      window.Hide();
    }
  } lease{*this};
  loop_ = &loop;
  loop.Run();
  return modalCode_;
}

void MainDialog::EndModal(int code) {
  modalCode_ = code;
  if (loop_ != nullptr) loop_->Exit(code);
}

void MainDialog::OnClose(wxCloseEvent& event) {
  // The close box is Done; the frame itself is destroyed by its owner.
  if (event.CanVeto()) event.Veto();
  OnCancel();
}

void MainDialog::OnOK() {
  // The selection reaches the host only once the unsaved-changes question has let the
  // window go, so that a file saved under a new name in that question is the one applied.
  if (!ConfirmDiscard()) return;
  StoreApplySelection(host_, currentSlot, document.workingName, document.workingPath);
  EndModal(kIdApply);
}

void MainDialog::OnCancel() {
  if (!ConfirmDiscard()) return;
  EndModal(kIdDone);
}

}  // namespace pictaro
