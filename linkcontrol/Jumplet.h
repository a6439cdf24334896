#pragma once
// The Jumplet link control: a surface holding one label, Label1, that looks like a text link,
// sizes the surface to itself and raises its mouse activity to the host.
#include "JumpletControl.h"
#include "Label.h"
#include "com/OleControl.h"
#include <string>

class Jumplet final : public com::OleControl<_Jumplet>, private LabelEvents {
public:
    Jumplet();

    // _Jumplet
    STDMETHODIMP get_Alignment(short* Alignment) override;
    STDMETHODIMP put_Alignment(short New_Alignment) override;
    STDMETHODIMP get_AutoRedraw(VARIANT_BOOL* AutoRedraw) override;
    STDMETHODIMP put_AutoRedraw(VARIANT_BOOL New_AutoRedraw) override;
    STDMETHODIMP get_BorderStyle(short* BorderStyle) override;
    STDMETHODIMP put_BorderStyle(short New_BorderStyle) override;
    STDMETHODIMP get_Caption(BSTR* Caption) override;
    STDMETHODIMP put_Caption(BSTR New_caption) override;
    STDMETHODIMP get_Enabled(VARIANT_BOOL* Enabled) override;
    STDMETHODIMP put_Enabled(VARIANT_BOOL New_Enabled) override;
    STDMETHODIMP get_MousePointer(short* MousePointer) override;
    STDMETHODIMP put_MousePointer(short New_MousePointer) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP get_URL(BSTR* URL) override;
    STDMETHODIMP put_URL(BSTR New_URL) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* BackColor) override;
    STDMETHODIMP put_BackColor(OLE_COLOR New_BackColor) override;
    STDMETHODIMP get_Font(IFontDisp** Font) override;
    STDMETHODIMP putref_Font(IFontDisp* New_Font) override;
    STDMETHODIMP get_FontBold(VARIANT_BOOL* FontBold) override;
    STDMETHODIMP put_FontBold(VARIANT_BOOL New_FontBold) override;
    STDMETHODIMP get_FontItalic(VARIANT_BOOL* FontItalic) override;
    STDMETHODIMP put_FontItalic(VARIANT_BOOL New_FontItalic) override;
    STDMETHODIMP get_FontName(BSTR* FontName) override;
    STDMETHODIMP put_FontName(BSTR New_FontName) override;
    STDMETHODIMP get_FontSize(float* FontSize) override;
    STDMETHODIMP put_FontSize(float New_FontSize) override;
    STDMETHODIMP get_FontUnderline(VARIANT_BOOL* FontUnderline) override;
    STDMETHODIMP put_FontUnderline(VARIANT_BOOL New_FontUnderline) override;
    STDMETHODIMP get_ForeColor(OLE_COLOR* ForeColor) override;
    STDMETHODIMP put_ForeColor(OLE_COLOR New_ForeColor) override;
    STDMETHODIMP get_PopupMessage(BSTR* PopupMessage) override;
    STDMETHODIMP put_PopupMessage(BSTR NewMessage) override;
    STDMETHODIMP NavigateUrl() override;

private:
    ~Jumplet() override = default;

    // Surface
    void UserControl_Resize();
    void UserControl_KeyPress(short& keyAscii);
    void UserControl_Show();
    void OnSurfaceCreated() override;
    void OnSurfaceResize() override { UserControl_Resize(); }
    bool OnSurfaceMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnHitTest(float x, float y, short& hitResult) override;
    void DrawContent(HDC dc, const RECT& area) override { Label1.DrawInto(dc, area); }

    // Label1
    void Label1_MouseDown(short button, short shift, float x, float y) override;
    void Label1_MouseUp(short button, short shift, float x, float y) override;
    void Label1_Click() override;
    void Label1_DblClick() override;
    com::ComPtr<IUnknown> HoldOwner() override { return KeepAlive(); }

    // Settings
    void InitNewProperties() override;
    void ReadProperties(com::PropertyReader& in) override;
    void WriteProperties(com::PropertyWriter& out) override;
    void AfterReadProperties(HRESULT lastFailure) override;
    void AfterWriteProperties(HRESULT lastFailure) override;
    std::vector<CLSID> PropertyPageIds() const override;

    // Every change of the caption sizes the surface.
    void SetLabelCaption(std::wstring caption);
    HRESULT SetFontFlag(HRESULT (STDMETHODCALLTYPE IFont::*set)(BOOL), VARIANT_BOOL value, const wchar_t* name);
    HRESULT GetFontFlag(HRESULT (STDMETHODCALLTYPE IFont::*get)(BOOL*), VARIANT_BOOL* value) const;

    Label Label1;
    bool autoRedraw_ = false;
    std::wstring url_;
    std::wstring popupMessage_;
    com::ComPtr<IUnknown> mouseIcon_;
};
