#pragma once
// Folder-text rules of the folder edit and its dialog that need no window: where the dialog
// starts, what a confirmed choice or a drop writes into the text, the long and short name
// forms, and the "...\" shortening of the dialog's path display.
#include <functional>
#include <optional>
#include <string>
#include <vector>

using TPathTest = std::function<bool(const std::string& path)>;

// The folder the browse button hands to the dialog: the text, else InitialDir, else "\";
// anything that is not an existing folder becomes "\".
std::string BrowseStartFolder(const std::string& text, const std::string& initialDir, const TPathTest& isFolder);

// The edit's text after a confirmed choice: the selection is deleted first, then the name
// replaces the rest, or is appended after ";" to a non-empty rest for a folder list.
std::string TextAfterChoice(const std::string& text, int selStart, int selLength, const std::string& name,
                            bool multipleDirs);

// The edit's text after files were dropped on it: an existing file contributes its folder
// (ending in a backslash), anything else its own name.
std::string TextAfterDrop(const std::string& text, const std::vector<std::string>& names, bool multipleDirs,
                          const TPathTest& isFile);

// What the dialog's folder list is pointed at for an absolute start folder: the folder without
// its trailing backslash (so "c:\" becomes the bare drive "c:", which means that drive's current
// folder), and whether it names a drive at all (a network path does not).
struct TFolderListStart {
    std::string Folder;
    bool HasDrive = false;
};
TFolderListStart FolderListStartOf(const std::string& absoluteFolder);

// A folder as the result of a dialog: no trailing backslash except for a drive root ("C:\").
std::string FolderResultForm(const std::string& folder);

// Long and short name forms of a path: every element after the first is replaced by the name
// the file system reports for the path up to it.
struct TFoundName {
    std::string LongName;
    std::string ShortName;  // empty when the long name is already a short one
};
using TNameLookup = std::function<std::optional<TFoundName>(const std::string& path)>;
enum class TPathNameForm { pnLong, pnShort };

std::string ConvertPathNames(const std::string& path, TPathNameForm form, const TNameLookup& lookup);
// With a folder list each ";"-separated item is converted; empty results are left out.
std::string ConvertPathText(const std::string& text, bool multipleDirs, TPathNameForm form,
                            const TNameLookup& lookup);
// FindFirstFileA on the path.
std::optional<TFoundName> FileSystemName(const std::string& path);

// The path display: when the path is wider than maxWidth, the folders between the drive and the
// last folder give way one at a time, from the left, to "...\"; then the drive goes as well.
std::string ShortenFolderPath(const std::string& path, int maxWidth,
                              const std::function<int(const std::string&)>& widthOf);
