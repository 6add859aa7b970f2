#include "model/WorkingDocument.h"

#include <filesystem>
#include <system_error>

#include "platform/Utf8Path.h"

namespace pictaro {
namespace {

constexpr const char* kIconExtension = "ico";
// A path is cut after its last separator: '/' on POSIX, '\\' or '/' on Windows.
#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WorkingDocument::ConfirmDiscard() {
  if (!grid_.AnyModified()) return true;
  const std::string question = "Save changes to the icon \"" + workingName + "\" before closing?";
  switch (desktop_.ShowMessage(question, kAppTitle, MessageIcon::Exclamation,
                               MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
      return Save();
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void WorkingDocument::New() {
  if (!ConfirmDiscard()) return;
  grid_.Clear();
  workingPath = FolderOf(workingPath);
  workingName = kUntitledName;
  shownName = workingName;
}

void WorkingDocument::Open() {
  if (!ConfirmDiscard()) return;
  FileRequest request;
  request.defaultExtension = kIconExtension;
  request.proposedName = workingName == kUntitledName ? std::string() : workingName;
  request.filter = kIconFileFilter;
  request.initialFolder = workingPath;
  const std::optional<std::string> chosen = desktop_.ChooseFile(request);
  if (!chosen) return;
  workingPath = *chosen;
  workingName = NameOf(*chosen);
  LoadWorkingFile();
}

bool WorkingDocument::LoadWorkingFile() {
  if (grid_.ReadIco(workingPath, desktop_)) {
    shownName = workingName;
    return true;
  }
  // A folder stays the working folder; a file that failed leaves only its folder.
  std::error_code error;
  if (!std::filesystem::is_directory(PathFromUtf8(workingPath), error))
    workingPath = FolderOf(workingPath);
  workingName = kUntitledName;
  shownName = workingName;
  return false;
}

bool WorkingDocument::Save() {
  return SaveWorkingFile() || SaveWorkingFileAs();
}

bool WorkingDocument::SaveWorkingFile() {
  shownName = workingName;
  return grid_.WriteIco(workingPath, desktop_) != 0;
}

bool WorkingDocument::SaveWorkingFileAs() {
  FileRequest request;
  request.save = true;
  request.defaultExtension = kIconExtension;
  request.proposedName =
      workingName == kUntitledName ? std::string(kUntitledName) : "Copy of " + workingName;
  request.filter = kIconFileFilter;
  request.initialFolder = workingPath;
  const std::optional<std::string> chosen = desktop_.ChooseFile(request);
  if (!chosen) return false;
  workingPath = *chosen;
  workingName = NameOf(*chosen);
  shownName = workingName;
  return grid_.WriteIco(workingPath, desktop_) != 0;
}

}  // namespace pictaro
