#pragma once
// The OLE plumbing of a window-based ActiveX control: site and in-place activation in the
// host's window, extent, view drawing and hit testing, persistence through property bags and
// streams, connection points for events and change reports, class info and property pages.
// A control derives from OleControl<ItsDualInterface> and answers the hooks at the bottom.
#include "ComObject.h"
#include "ConnectionPoint.h"
#include "Dispatch.h"
#include "PropertyBagIo.h"
#include <initializer_list>
#include <ocidl.h>
#include <oleidl.h>
#include <vector>

namespace com {

// Event arguments passed by reference, so that a host's change flows back.
inline VARIANT ByRef(short* value) { VARIANT v; VariantInit(&v); v.vt = VT_BYREF | VT_I2; v.piVal = value; return v; }
inline VARIANT ByRef(float* value) { VARIANT v; VariantInit(&v); v.vt = VT_BYREF | VT_R4; v.pfltVal = value; return v; }

class OleControlCore
    : public ComObject<Expose<IOleObject>, Expose<IOleInPlaceObject, IOleWindow>, Expose<IOleInPlaceActiveObject>,
                       Expose<IOleControl>, Expose<IViewObjectEx, IViewObject2, IViewObject>,
                       Expose<IPersistPropertyBag>, Expose<IPersistStreamInit, IPersist>,
                       Expose<IConnectionPointContainer>, Expose<IProvideClassInfo2, IProvideClassInfo>,
                       Expose<ISpecifyPropertyPages>> {
public:
    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
    STDMETHODIMP Unadvise(DWORD connection) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IViewObject, IViewObject2, IViewObjectEx
    STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw, LPCRECTL bounds, LPCRECTL,
                      BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD* status) override;
    STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* result) override;
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override { return E_NOTIMPL; }

    // IPersist, IPersistPropertyBag, IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    STDMETHODIMP IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override;
    STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;

protected:
    explicit OleControlCore(REFCLSID clsid);
    ~OleControlCore() override;

    // Holds the control while one of its window handlers runs: a host may let go of it
    // from inside an event.
    ComPtr<IUnknown> KeepAlive() { return ComPtr<IUnknown>(Identity()); }

    HWND Surface() const { return surface_; }
    SIZE SurfaceSizeTwips() const { return sizeTwips_; }
    // Sets the surface size; when in place, moves the window and tells the site. The result
    // is the first failure on the way.
    HRESULT SetSurfaceSize(long widthTwips, long heightTwips);
    // The surface's own mouse pointer (0 default, 11 hourglass), shown at once.
    void SetSurfaceMousePointer(short pointer);

    // Tells the container that a property of the default interface changed (by name).
    void ReportChange(const wchar_t* propertyName);
    // Raises an event of the source interface by name. Arguments are passed as given (by
    // reference where the event declares them so), first argument first.
    void RaiseEvent(const wchar_t* eventName, std::initializer_list<VARIANT> arguments = {});
    // The container's ambient font, or null.
    ComPtr<IFontDisp> AmbientFont() const;
    ITypeInfo* DefaultInterfaceInfo() const { return defaultInfo_.Get(); }

    // Hooks for the control.
    virtual void OnSurfaceCreated() {}
    virtual void OnSurfaceResize() = 0;
    // Surface messages the control wants to see first; true when handled.
    virtual bool OnSurfaceMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    virtual void InitNewProperties() = 0;
    virtual void ReadProperties(PropertyReader& in) = 0;
    virtual void WriteProperties(PropertyWriter& out) = 0;
    virtual void AfterReadProperties(HRESULT) {}
    virtual void AfterWriteProperties(HRESULT) {}
    virtual std::vector<CLSID> PropertyPageIds() const = 0;
    virtual void DrawContent(HDC, const RECT&) {}
    // The windowless hit test: the control may change hitResult (HITRESULT_*).
    virtual void OnHitTest(float xTwips, float yTwips, short& hitResult) { (void)xTwips; (void)yTwips; (void)hitResult; }

private:
    friend void RegisterControlWindowClasses();
    static LRESULT CALLBACK SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize(int width, int height);
    BOOL OnSetCursor();
    HRESULT InPlaceActivate(HWND parentHint, LPCRECT rectHint);
    HRESULT CreateSurface(HWND parent, const RECT& position);
    HRESULT NotifyPositionChanged();
    HRESULT ShowPropertyFrame(HWND parent);
    DISPID EventId(const wchar_t* name) const;

    CLSID clsid_;
    ComPtr<ITypeInfo> classInfo_;
    ComPtr<ITypeInfo> defaultInfo_;
    ComPtr<ITypeInfo> sourceInfo_;
    IID sourceIid_ = IID_NULL;
    ComPtr<IOleClientSite> clientSite_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0, viewFlags_ = 0;
    ConnectionPoint events_;
    ConnectionPoint changes_;
    HWND surface_ = nullptr;
    SIZE sizeTwips_{};
    short surfacePointer_ = 0;
    long frozen_ = 0;
    bool dirty_ = false;
};

// Adds the control's dual interface, served from the type library, to the plumbing above.
template <class Dual>
class OleControl : public OleControlCore, public DispatchFromTypeInfo<Dual> {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return OleControlCore::QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return OleControlCore::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return OleControlCore::Release(); }

protected:
    explicit OleControl(REFCLSID clsid) : OleControlCore(clsid) { this->SetTypeInfo(ComPtr<ITypeInfo>(DefaultInterfaceInfo())); }

    void* FindInterface(REFIID iid) override {
        if (IsEqualIID(iid, __uuidof(Dual)) || IsEqualIID(iid, IID_IDispatch)) return static_cast<Dual*>(this);
        return OleControlCore::FindInterface(iid);
    }
};

// Registers and removes the window classes of this module's controls (process attach/detach).
void RegisterControlWindowClasses();
void UnregisterControlWindowClasses();

} // namespace com
