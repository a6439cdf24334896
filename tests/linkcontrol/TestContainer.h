#pragma once
// A small control container for driving the real, registered JumpletControl.dll: a host
// window, a client site with in-place support and ambient properties, a recording property
// bag, sinks for events and change reports, and a recorder for the library's message boxes.
#include "JumpletControl.h"
#include "com/ComObject.h"
#include <functional>
#include <ocidl.h>
#include <olectl.h>
#include <string>
#include <vector>

namespace testhost {

using com::ComPtr;
using com::Variant;

// ---- host window and site ----

class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// One host window for the whole test program: under Wine without a window manager, hiding a
// top-level window waits up to two seconds for the X server.
HostWindow& SharedHostWindow();

class Site : public com::ComObject<com::Expose<IOleClientSite>, com::Expose<IOleInPlaceSite, IOleWindow>,
                                   com::Expose<IDispatch>> {
public:
    Site(HWND parent, RECT position) : parent_(parent), position_(position) {}

    // What the site answers and what it saw.
    ComPtr<IFontDisp> ambientFont;
    HRESULT positionChangeResult = S_OK;
    std::vector<RECT> positionChanges;
    RECT Position() const { return position_; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return S_OK; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override;

private:
    HWND parent_;
    RECT position_;
};

// ---- recorders ----

// A property bag that answers from a stored set (keys matched without regard to case) and
// records every write in order.
class RecordingPropertyBag : public com::ComObject<com::Expose<IPropertyBag>> {
public:
    struct Entry {
        std::wstring key;
        Variant value;
    };
    std::vector<Entry> stored;
    std::vector<Entry> written;
    std::vector<std::wstring> readKeys;

    void Store(std::wstring key, Variant value) { stored.push_back({std::move(key), std::move(value)}); }
    std::vector<std::wstring> WrittenKeys() const;
    // The value of the n-th write of key (0 = first); empty when not written.
    Variant WrittenValue(const std::wstring& key, int occurrence = 0) const;

    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;
};

// Events of the control, by name, with their arguments as the sink saw them.
class EventRecorder : public com::ComObject<com::Expose<IDispatch>> {
public:
    struct Event {
        std::wstring name;
        std::vector<Variant> arguments;  // first argument first, dereferenced
    };
    std::vector<Event> events;
    // Runs inside the event, before it returns to the control; may change by-reference arguments.
    std::function<void(const std::wstring& name, DISPPARAMS& params)> onEvent;

    explicit EventRecorder(ComPtr<ITypeInfo> eventInfo) : info_(std::move(eventInfo)) {}
    std::vector<std::wstring> Names() const;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    ComPtr<ITypeInfo> info_;
};

// Change reports, by property name.
class ChangeRecorder : public com::ComObject<com::Expose<IPropertyNotifySink>> {
public:
    std::vector<std::wstring> names;
    explicit ChangeRecorder(ComPtr<ITypeInfo> propertyInfo) : info_(std::move(propertyInfo)) {}
    STDMETHODIMP OnChanged(DISPID id) override;
    STDMETHODIMP OnRequestEdit(DISPID) override { return S_OK; }

private:
    ComPtr<ITypeInfo> info_;
};

// Catches the message boxes this thread shows (the library's "System Error" box), records
// title and text, and closes them with OK, so that nothing waits for a user.
class MessageBoxRecorder {
public:
    struct Box {
        std::wstring title;
        std::wstring text;
    };
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    std::vector<Box> boxes_;
};

// ---- a control under test ----

struct Placement {
    RECT position{10, 10, 200, 60};
    ComPtr<IFontDisp> ambientFont;
    HRESULT positionChangeResult = S_OK;
};

class TestControl {
public:
    // Creates a Jumplet from its ProgID in host, connects the sinks, loads it from stored
    // (or initialises a new instance when stored is null) and activates it in place.
    TestControl(HostWindow& host, IPropertyBag* stored = nullptr, Placement placement = {});
    ~TestControl();
    TestControl(const TestControl&) = delete;
    TestControl& operator=(const TestControl&) = delete;

    Variant Get(const wchar_t* name);
    HRESULT Put(const wchar_t* name, const Variant& value);
    HRESULT PutRef(const wchar_t* name, IDispatch* object);
    HRESULT Call(const wchar_t* name);
    std::wstring GetText(const wchar_t* name);
    long GetLong(const wchar_t* name);

    HWND Surface() const;
    HWND Label() const { return GetWindow(Surface(), GW_CHILD); }
    SIZEL Extent() const;
    HRESULT Save(RecordingPropertyBag& bag);

    ComPtr<IOleObject> object;
    ComPtr<IDispatch> dispatch;
    ComPtr<Site> site;
    ComPtr<EventRecorder> events;
    ComPtr<ChangeRecorder> changes;

private:
    HRESULT Invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result);
    ComPtr<IConnectionPoint> eventPoint_, changePoint_;
    DWORD eventCookie_ = 0, changeCookie_ = 0;
};

// ---- helpers ----

ComPtr<IFontDisp> MakeFont(const wchar_t* name, double points, bool bold, bool underline);
std::wstring FontName(IDispatch* font);
// Pixel size of a window's client area.
SIZE ClientSize(HWND window);
long PixelsToTwipsX(long pixels);
long TwipsToPixelsX(long twips);
long TwipsToPixelsY(long twips);
long PixelsToTwipsY(long pixels);
long TwipsToHimetric(long twips);
// Equal as automation values once actual is converted to expected's type.
bool SameValue(const Variant& actual, const Variant& expected);
// Whether any pixel of the window's client area has this colour.
bool WindowShowsColor(HWND window, COLORREF color);

} // namespace testhost
