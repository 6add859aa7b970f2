#include "ui/main/SmallDialogs.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace pictaro {
namespace {

void AddWrappedText(wxDialog& dialog, wxSizer& sizer, const char* text) {
  auto* label = new wxStaticText(&dialog, wxID_ANY, wxString::FromUTF8(text));
  label->Wrap(300);
  sizer.Add(label, 0, wxALL, 8);
}

void RunDialog(wxDialog& dialog, wxSizer* sizer, const char* buttonText) {
  auto* button = new wxButton(&dialog, wxID_OK, buttonText);
  button->SetDefault();
  sizer->Add(button, 0, wxALL | wxALIGN_RIGHT, 8);
  dialog.SetEscapeId(wxID_OK);
  dialog.SetSizerAndFit(sizer);
  dialog.CentreOnScreen();
  dialog.ShowModal();
}

}  // namespace

void ShowWelcomeDialog(wxWindow* parent) {
  wxDialog dialog(parent, wxID_ANY, "Using Pictaro");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  for (const char* text :
       {"Welcome to Pictaro! Before starting, there are some important things you should "
        "know:",
        "\u2022 Pictaro is not an icon editor. Use Adobe Photoshop to create and edit your "
        "icons, and then launch Pictaro to quickly assemble your work. ",
        "\u2022 Create your icons on a transparent layer and not on the background. ",
        "\u2022 The filter starts with a blank icon grid. Fill the grid automatically using "
        "the Build button. Resources can also be added manually for greater control. ",
        "Remember to check the Tutorial and Read Me files for additional information on how "
        "to use Pictaro. You'll find step-by-step instructions for creating your first icon "
        "and tips for advanced users."}) {
    AddWrappedText(dialog, *sizer, text);
  }
  RunDialog(dialog, sizer, "OK");
}

void ShowAboutDialog(wxWindow* parent) {
  wxDialog dialog(parent, wxID_ANY, "About Pictaro");
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  AddWrappedText(dialog, *sizer, "Pictaro");
  AddWrappedText(dialog, *sizer, "Version 2.0");
  AddWrappedText(dialog, *sizer,
                 "Pictaro uses the FreeImage library, open source that is licensed under FIPL "
                 "1.0, https://freeimage.sourceforge.io/");
  RunDialog(dialog, sizer, "Close");
}

}  // namespace pictaro
