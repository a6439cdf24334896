#pragma once
// The OLE plumbing of a property page: its site, the selection, the page window inside the
// container's frame, and the changed state the container reads. A page derives from it, makes
// its fields and reads and writes the first selected object.
#include "ComObject.h"
#include <ocidl.h>
#include <string>
#include <vector>

namespace com {

class PropertyPage : public ComObject<Expose<IPropertyPage>> {
public:
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT command) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override { return changed_ ? S_OK : S_FALSE; }
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG* message) override;

protected:
    PropertyPage(std::wstring caption, SIZE sizeTwips) : caption_(std::move(caption)), sizeTwips_(sizeTwips) {}
    ~PropertyPage() override;

    // Marks the page changed and tells the container, so that it offers to apply.
    void SetChanged();
    bool Changed() const { return changed_; }
    HWND Page() const { return window_; }
    // The page's own font for its fields.
    HFONT FieldFont() const { return font_; }

    // A field of the page at its place in twips; the class is a standard window class.
    HWND CreateField(const wchar_t* windowClass, const wchar_t* caption, DWORD style, int id, long left, long top,
                     long width, long height);

    virtual void CreateFields() = 0;
    // Reads the first selected object into the fields; the first failure stops the reading.
    virtual HRESULT ReadSelection(IDispatch& first) = 0;
    // Writes the fields to the first selected object; the first failure stops the writing.
    virtual HRESULT ApplyChanges(IDispatch& first) = 0;
    virtual void OnCommand(int id, int code) = 0;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    friend void RegisterPropertyPageWindowClass();
    HRESULT ReadFirstSelected();

    std::wstring caption_;
    SIZE sizeTwips_;
    ComPtr<IPropertyPageSite> site_;
    std::vector<ComPtr<IDispatch>> objects_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    bool changed_ = false;
};

void RegisterPropertyPageWindowClass();
void UnregisterPropertyPageWindowClass();

} // namespace com
