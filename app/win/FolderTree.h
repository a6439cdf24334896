#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace folio::win {

// Dir1: the folders of one drive as a tree, opened from the drive's root down to the selected
// folder, whose subfolders are listed below it. The selected folder is the tree's value.
// Other branches are read from disk when the user opens them. Hidden and system folders are
// left out, except those on the path of the selected folder.
class FolderTree {
public:
    struct CreateArgs {
        HWND parent = nullptr;
        int id = 0;
        HFONT font = nullptr;
    };
    void Create(const CreateArgs& args);
    HWND Hwnd() const { return hwnd_; }

    // Shows a folder (UTF-8, absolute or relative); false, with the tree unchanged, when it is
    // not a folder that can be read.
    bool SetFolder(const std::string& path);
    // The selected folder, "" before the first SetFolder.
    std::string Folder() const;

    // TVN_ITEMEXPANDING: reads the subfolders of a branch the first time it opens.
    void OnItemExpanding(const NMTREEVIEWW& change);

private:
    HTREEITEM AddItem(HTREEITEM parent, const std::wstring& name, bool complete);
    void AddSubfolders(HTREEITEM parent, const std::wstring& folder);
    void ScrollToLeftEdge();
    std::wstring PathOf(HTREEITEM item) const;

    HWND hwnd_ = nullptr;
};

// The text of a tree view item, up to MAX_PATH characters.
std::wstring TreeItemText(HWND tree, HTREEITEM item);

} // namespace folio::win
