// Dir1, the folder tree, in a window of the test's own: what it shows of a folder's branch.
#include "ExeDriver.h"
#include "FolderTree.h"
#include "Handles.h"
#include "Hwnd.h"
#include "WinText.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

using namespace folio::test;
using folio::win::FolderTree;

namespace {

constexpr wchar_t kHostClass[] = L"FolioFolderTreeTestHost";

// Hands the tree's notifications to it, as the main window does.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tree = reinterpret_cast<FolderTree*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NOTIFY && tree && reinterpret_cast<NMHDR*>(lParam)->code == TVN_ITEMEXPANDINGW)
        tree->OnItemExpanding(*reinterpret_cast<NMTREEVIEWW*>(lParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class FolderTreeWindow : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kHostClass;
        RegisterClassW(&windowClass);
        host_ = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 500, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&tree_));
        font_.Reset(folio::win::CreateSansSerifFont(8.25, folio::win::Twips::OfScreen()));
        tree_.Create({.parent = host_, .id = 1, .font = font_.Get()});
        ASSERT_NE(tree_.Hwnd(), nullptr);
    }
    void TearDown() override { DestroyWindow(host_); }

    // The size of Dir1 in the main window at 96 dots per inch.
    void PlaceTree() { SetWindowPos(tree_.Hwnd(), nullptr, 4, 16, 217, 340, SWP_NOZORDER | SWP_NOACTIVATE); }
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }

    RECT TextRect(HTREEITEM item) const {
        RECT rect{};
        TreeView_GetItemRect(tree_.Hwnd(), item, &rect, TRUE);
        return rect;
    }
    std::wstring Text(HTREEITEM item) const { return folio::win::TreeItemText(tree_.Hwnd(), item); }
    HTREEITEM Selection() const { return TreeView_GetSelection(tree_.Hwnd()); }
    // The names of an item's children, sorted.
    std::vector<std::wstring> Children(HTREEITEM parent) const {
        std::vector<std::wstring> names;
        for (HTREEITEM child = TreeView_GetChild(tree_.Hwnd(), parent); child;
             child = TreeView_GetNextSibling(tree_.Hwnd(), child))
            names.push_back(Text(child));
        std::sort(names.begin(), names.end());
        return names;
    }

    HWND host_ = nullptr;
    folio::win::FontHandle font_;
    FolderTree tree_;
};

std::string Utf8(const std::filesystem::path& path) { return folio::win::Utf8FromWide(path.wstring()); }

TEST_F(FolderTreeWindow, DeepFolderShowsItsBranchFromTheLeftEdgeWithTheSelectionInView) {
    TempFolder temp;
    std::filesystem::path deep = temp.Path();
    for (const wchar_t* name : {L"a folder with a rather long name", L"another long folder name", L"third level",
                                L"the selected folder at the end of the branch"})
        deep /= name;
    std::filesystem::create_directories(deep);
    struct Case {
        const char* label;
        bool placedFirst; // false: filled while still without a size, as when the window is created
    };
    for (const Case& c : {Case{"filled, then placed", false}, Case{"placed, then filled", true}}) {
        SCOPED_TRACE(c.label);
        SetWindowPos(tree_.Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.placedFirst)
            PlaceTree();
        ASSERT_TRUE(tree_.SetFolder(Utf8(deep)));
        if (!c.placedFirst)
            PlaceTree();
        Pump();
        EXPECT_EQ(tree_.Folder(), Utf8(deep));

        const HTREEITEM root = TreeView_GetRoot(tree_.Hwnd());
        const HTREEITEM selected = Selection();
        RECT inner;
        GetClientRect(tree_.Hwnd(), &inner);
        // A tree scrolled sideways puts the drive's root left of the edge.
        EXPECT_GE(TextRect(root).left, 0) << "the drive is cut off at the left";
        const RECT selection = TextRect(selected);
        EXPECT_GE(selection.top, 0);
        EXPECT_LE(selection.bottom, inner.bottom) << "the selected folder is in view";
    }
}

TEST_F(FolderTreeWindow, HiddenAndSystemFoldersAreLeftOutUnlessOnThePathShown) {
    TempFolder temp;
    for (const wchar_t* name : {L"plain", L"read only", L"hidden", L"system", L".dotted"})
        std::filesystem::create_directory(temp / name);
    WriteFileBytes(temp / L"a file.bmp", "1");
    SetFileAttributesW((temp / L"read only").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((temp / L"hidden").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW((temp / L"system").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    PlaceTree();

    ASSERT_TRUE(tree_.SetFolder(Utf8(temp.Path())));
    EXPECT_EQ(Children(Selection()), (std::vector<std::wstring>{L"plain", L"read only"}));

    // A hidden folder chosen on purpose (typed, or the current folder) is still shown and kept.
    ASSERT_TRUE(tree_.SetFolder(Utf8(temp / L"hidden")));
    EXPECT_EQ(tree_.Folder(), Utf8(temp / L"hidden"));
    EXPECT_EQ(Children(TreeView_GetParent(tree_.Hwnd(), Selection())),
              (std::vector<std::wstring>{L"hidden", L"plain", L"read only"}));

    SetFileAttributesW((temp / L"read only").c_str(), FILE_ATTRIBUTE_DIRECTORY);
    SetFileAttributesW((temp / L"system").c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
