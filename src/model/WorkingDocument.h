// The document the main window edits: the grid and the working file it is read from and saved
// to, with the commands New, Open, Save and Save As and the unsaved-changes question that New,
// Open, Apply and Done ask.
#pragma once

#include <string>

#include "model/ResourceGrid.h"
#include "platform/Desktop.h"

namespace pictaro {

// A document without a file of its own carries this name (compared exactly).
inline constexpr const char* kUntitledName = "Untitled.ico";
inline constexpr const char* kIconFileFilter = "Icon Files (*.ico)|*.ico|All Files (*.*)|*.*||";

class WorkingDocument {
 public:
  WorkingDocument(ResourceGrid& grid, Desktop& desktop) : grid_(grid), desktop_(desktop) {}

  // Whether the caller may go on (true) or must stay. With unsaved changes the user is asked;
  // after Yes the answer is go on only when the document was actually written, so that unsaved
  // work is never dropped silently.
  bool ConfirmDiscard();

  // Empties the grid for a new, untitled document in the old one's folder.
  void New();
  // Asks for a file and reads it.
  void Open();
  // Reads the grid from the working path. A failed read leaves the document untitled in that
  // file's folder, so that a later Save can't overwrite the file that failed.
  bool LoadWorkingFile();
  // Writes the working file; if that fails, asks for another. Returns whether written.
  bool Save();
  bool SaveWorkingFile();
  bool SaveWorkingFileAs();

  // The full path of the working file, or a folder; the file choosers open there.
  std::string workingPath;
  std::string workingName = kUntitledName;
  // What the window's "Working File:" label shows; only the commands that say so change it.
  std::string shownName = kUntitledName;

 private:
  ResourceGrid& grid_;
  Desktop& desktop_;
};

// The folder part of a path, up to and including its last separator; empty without one.
std::string FolderOf(const std::string& path);

}  // namespace pictaro
