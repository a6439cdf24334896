#pragma once
// PropertyPage1: the link control's own page in a container's property dialog. Seven
// properties of the first selected control in plain fields, read and written by name.
#include "com/PropertyPage.h"

class PropertyPage1 final : public com::PropertyPage {
public:
    PropertyPage1();

private:
    ~PropertyPage1() override = default;

    void CreateFields() override;
    HRESULT ReadSelection(IDispatch& first) override;
    HRESULT ApplyChanges(IDispatch& first) override;
    void OnCommand(int id, int code) override;

    // Every edit of a text box and every click of a check box.
    void Field_Change();
    void CheckBox_Click(HWND checkBox);

    // Filling a field while reading marks the page changed only when the value differs.
    void FillText(HWND textBox, const std::wstring& text);
    void FillCheck(HWND checkBox, int value);
    static std::wstring TextOf(HWND field);
    static bool IsChecked(HWND checkBox);

    HWND chkAutoRedraw = nullptr;
    HWND lblBorderStyle = nullptr;
    HWND txtBorderStyle = nullptr;
    HWND lblcaption = nullptr;
    HWND txtcaption = nullptr;
    HWND chkEnabled = nullptr;
    HWND lblURL = nullptr;
    HWND txtURL = nullptr;
    HWND lblAlignment = nullptr;
    HWND txtAlignment = nullptr;
    HWND lblMousePointer = nullptr;
    HWND txtMousePointer = nullptr;
    bool filling_ = false;
};
