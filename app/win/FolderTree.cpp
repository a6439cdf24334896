#include "FolderTree.h"

#include "Handles.h"
#include "Hwnd.h"
#include "WinText.h"

#include <vector>

namespace folio::win {

namespace {

// lParam of an item: whether all its subfolders are in the tree already.
constexpr LPARAM kPartial = 0;
constexpr LPARAM kComplete = 1;

std::wstring WithBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// Hidden and system folders stay out of the tree, as in the platform's own folder pickers.
bool IsShownFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

std::vector<std::wstring> SubfolderNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    FindHandle find(FindFirstFileExW((WithBackslash(folder) + L"*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (IsShownFolder(found.dwFileAttributes) && name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.Get(), &found));
    return names;
}

// The absolute form of a folder path, or "" when it is not a folder.
std::wstring FullFolderPath(const std::wstring& path) {
    if (path.empty())
        return {};
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return {};
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(length);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return full;
}

} // namespace

void FolderTree::Create(const CreateArgs& args) {
    hwnd_ = CreateChild({.parent = args.parent, .className = WC_TREEVIEWW,
                         .style = WS_VISIBLE | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                         .id = args.id, .font = args.font});
}

HTREEITEM FolderTree::AddItem(HTREEITEM parent, const std::wstring& name, bool complete) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_SORT;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.lParam = complete ? kComplete : kPartial;
    insert.item.cChildren = 1; // a button until the branch is opened and found empty
    return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FolderTree::AddSubfolders(HTREEITEM parent, const std::wstring& folder) {
    std::vector<std::wstring> present;
    for (HTREEITEM child = TreeView_GetChild(hwnd_, parent); child; child = TreeView_GetNextSibling(hwnd_, child))
        present.push_back(TreeItemText(hwnd_, child));
    bool any = !present.empty();
    for (const std::wstring& name : SubfolderNames(folder)) {
        any = true;
        bool known = false;
        for (const auto& p : present)
            known = known || CompareStringOrdinal(p.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL;
        if (!known)
            AddItem(parent, name, false);
    }
    TVITEMW item{};
    item.mask = TVIF_PARAM | TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = parent;
    item.lParam = kComplete;
    item.cChildren = any ? 1 : 0;
    TreeView_SetItem(hwnd_, &item);
}

bool FolderTree::SetFolder(const std::string& path) {
    const std::wstring full = FullFolderPath(WideFromUtf8(path));
    if (full.size() < 3 || full[1] != L':')
        return false;
    TreeView_DeleteAllItems(hwnd_);
    HTREEITEM item = AddItem(TVI_ROOT, full.substr(0, 3), false);
    size_t start = 3;
    while (start < full.size()) {
        size_t end = full.find(L'\\', start);
        if (end == std::wstring::npos)
            end = full.size();
        if (end > start) {
            HTREEITEM child = AddItem(item, full.substr(start, end - start), false);
            TreeView_Expand(hwnd_, item, TVE_EXPAND);
            item = child;
        }
        start = end + 1;
    }
    AddSubfolders(item, full);
    TreeView_Expand(hwnd_, item, TVE_EXPAND);
    TreeView_SelectItem(hwnd_, item);
    TreeView_EnsureVisible(hwnd_, item);
    ScrollToLeftEdge();
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}

void FolderTree::ScrollToLeftEdge() {
    // Ensuring a deep item is visible scrolls its text into view sideways, which cuts the
    // drive and the upper folders off at the left. SB_THUMBPOSITION rather than SB_LEFT,
    // which Wine's tree ignores.
    SendMessageW(hwnd_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    wchar_t text[MAX_PATH + 1] = L"";
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH + 1;
    TreeView_GetItem(tree, &data);
    return text;
}

std::wstring FolderTree::PathOf(HTREEITEM item) const {
    std::vector<std::wstring> names;
    for (; item; item = TreeView_GetParent(hwnd_, item))
        names.push_back(TreeItemText(hwnd_, item));
    if (names.empty())
        return {};
    std::wstring path = names.back(); // the root, "c:\"
    for (size_t i = names.size() - 1; i-- > 0;)
        path = WithBackslash(path) + names[i];
    return path;
}

std::string FolderTree::Folder() const { return Utf8FromWide(PathOf(TreeView_GetSelection(hwnd_))); }

void FolderTree::OnItemExpanding(const NMTREEVIEWW& change) {
    if (change.action != TVE_EXPAND || change.itemNew.lParam == kComplete)
        return;
    AddSubfolders(change.itemNew.hItem, PathOf(change.itemNew.hItem));
}

} // namespace folio::win
