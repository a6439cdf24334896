#pragma once
// Label1: the control's caption. A transparent label that sizes itself to its caption and
// font, reports mouse activity to its owner and keeps its own settings while the control has
// no window.
#include "com/ComPtr.h"
#include <ocidl.h>
#include <olectl.h>
#include <string>

class LabelEvents {
public:
    virtual void Label1_MouseDown(short button, short shift, float x, float y) = 0;
    virtual void Label1_MouseUp(short button, short shift, float x, float y) = 0;
    virtual void Label1_Click() = 0;
    virtual void Label1_DblClick() = 0;
    // A reference that keeps the owner alive while the label handles a message.
    virtual com::ComPtr<IUnknown> HoldOwner() = 0;

protected:
    ~LabelEvents() = default;
};

class Label {
public:
    explicit Label(LabelEvents& owner);
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;
    ~Label();

    // The label's window inside the surface; the settings hold without it.
    HRESULT CreateWindowIn(HWND surface);
    HWND Window() const { return window_; }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    short Alignment() const { return alignment_; }
    HRESULT SetAlignment(short alignment);
    short BorderStyle() const { return borderStyle_; }
    HRESULT SetBorderStyle(short borderStyle);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    short MousePointer() const { return mousePointer_; }
    HRESULT SetMousePointer(short pointer);
    OLE_COLOR ForeColor() const { return foreColor_; }
    HRESULT SetForeColor(OLE_COLOR color);
    OLE_COLOR BackColor() const { return backColor_; }
    HRESULT SetBackColor(OLE_COLOR color);

    // The label's own font object; changes made through it resize the label.
    IFont* Font() const { return font_.Get(); }
    // Takes a copy of the given font.
    HRESULT SetFont(IFont* font);
    HRESULT SetFontUnderline(bool underline);

    void Move(long leftTwips, long topTwips);
    SIZE SizeTwips() const;
    // Repaints at once.
    void Refresh();
    // Paints the label into a surface drawn at area (the view of a control without window).
    void DrawInto(HDC dc, const RECT& surfaceArea) const;

    void OnFontChanged();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnButtonDown(short button, WPARAM keys, LPARAM position);
    void OnButtonUp(short button, WPARAM keys, LPARAM position);
    BOOL OnSetCursor();
    void Paint(HDC dc, const RECT& area) const;
    void AutoSize();
    void Reposition();
    HRESULT ConnectFontSink();
    void DisconnectFontSink();

    LabelEvents& owner_;
    HWND window_ = nullptr;
    std::wstring caption_;
    short alignment_ = 0;
    short borderStyle_ = 0;
    bool enabled_ = true;
    short mousePointer_ = 0;
    OLE_COLOR foreColor_ = 0x80000012;
    OLE_COLOR backColor_ = 0x8000000F;
    com::ComPtr<IFont> font_;
    com::ComPtr<IPropertyNotifySink> fontSink_;
    DWORD fontCookie_ = 0;
    POINT positionTwips_{};
    SIZE sizePixels_{};
    short buttonsDown_ = 0;
    bool inDoubleClick_ = false;
};

void RegisterLabelWindowClass();
void UnregisterLabelWindowClass();
