#include "OleControl.h"

#include "Module.h"
#include "StreamPropertyBag.h"
#include "Units.h"
#include <algorithm>
#include <new>
#include <olectl.h>

namespace com {
namespace {

constexpr wchar_t kSurfaceClass[] = L"FolioscopeControlSurface";

ComPtr<ITypeInfo> LoadClassInfo(REFCLSID clsid) {
    ComPtr<ITypeInfo> info;
    ModuleTypeInfo(clsid, info);
    return info;
}

// The coclass's implemented interface that carries exactly these flags (default, or default source).
ComPtr<ITypeInfo> ImplementedInfo(ITypeInfo* classInfo, int wantedFlags) {
    if (!classInfo) return {};
    TYPEATTR* attributes = nullptr;
    if (FAILED(classInfo->GetTypeAttr(&attributes))) return {};
    WORD count = attributes->cImplTypes;
    classInfo->ReleaseTypeAttr(attributes);
    const int mask = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    for (UINT i = 0; i < count; ++i) {
        int flags = 0;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> info;
        if (SUCCEEDED(classInfo->GetImplTypeFlags(i, &flags)) && (flags & mask) == wantedFlags &&
            SUCCEEDED(classInfo->GetRefTypeOfImplType(i, &reference)) &&
            SUCCEEDED(classInfo->GetRefTypeInfo(reference, info.Put())))
            return info;
    }
    return {};
}

IID GuidOf(ITypeInfo* info) {
    IID iid = IID_NULL;
    TYPEATTR* attributes = nullptr;
    if (info && SUCCEEDED(info->GetTypeAttr(&attributes))) {
        iid = attributes->guid;
        info->ReleaseTypeAttr(attributes);
    }
    return iid;
}

LPCWSTR CursorOf(short pointer) { return pointer == 11 ? IDC_WAIT : IDC_ARROW; }

} // namespace

void RegisterControlWindowClasses() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &OleControlCore::SurfaceProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kSurfaceClass;
    RegisterClassExW(&windowClass);
}

void UnregisterControlWindowClasses() { UnregisterClassW(kSurfaceClass, ThisModule()); }

OleControlCore::OleControlCore(REFCLSID clsid)
    : clsid_(clsid),
      classInfo_(LoadClassInfo(clsid)),
      defaultInfo_(ImplementedInfo(classInfo_.Get(), IMPLTYPEFLAG_FDEFAULT)),
      sourceInfo_(ImplementedInfo(classInfo_.Get(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)),
      sourceIid_(GuidOf(sourceInfo_.Get())),
      events_(*this, sourceIid_, true),
      changes_(*this, IID_IPropertyNotifySink, false) {}

OleControlCore::~OleControlCore() {
    if (surface_) {
        SetWindowLongPtrW(surface_, GWLP_USERDATA, 0);
        DestroyWindow(surface_);
    }
}

// ---- site and activation ----

STDMETHODIMP OleControlCore::SetClientSite(IOleClientSite* site) {
    clientSite_ = ComPtr<IOleClientSite>(site);
    return S_OK;
}

STDMETHODIMP OleControlCore::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    return clientSite_.CopyTo(site);
}

STDMETHODIMP OleControlCore::Close(DWORD) {
    InPlaceDeactivate();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP OleControlCore::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlCore::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlCore::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) {
    if (site && !clientSite_) clientSite_ = ComPtr<IOleClientSite>(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(parent, rect);
    case OLEIVERB_HIDE:
        if (surface_) ShowWindow(surface_, SW_HIDE);
        return S_OK;
    case OLEIVERB_PROPERTIES:
        return ShowPropertyFrame(parent);
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

STDMETHODIMP OleControlCore::EnumVerbs(IEnumOLEVERB** verbs) {
    if (!verbs) return E_POINTER;
    return OleRegEnumVerbs(clsid_, verbs);
}

STDMETHODIMP OleControlCore::GetUserType(DWORD form, LPOLESTR* type) {
    if (!type) return E_POINTER;
    return OleRegGetUserType(clsid_, form, type);
}

HRESULT OleControlCore::InPlaceActivate(HWND parentHint, LPCRECT rectHint) {
    if (surface_) {
        ShowWindow(surface_, SW_SHOWNA);
        return S_OK;
    }
    auto site = clientSite_.As<IOleInPlaceSite>();
    if (!site) return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    HRESULT hr = site->OnInPlaceActivate();
    if (FAILED(hr)) return hr;
    inPlaceSite_ = site;

    HWND parent = nullptr;
    if (FAILED(site->GetWindow(&parent)) || !parent) parent = parentHint;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    if (FAILED(site->GetWindowContext(frame.Put(), document.Put(), &position, &clip, &frameInfo))) {
        if (rectHint) position = *rectHint;
    }
    hr = CreateSurface(parent, position);
    if (FAILED(hr)) {
        inPlaceSite_.Reset();
        site->OnInPlaceDeactivate();
    }
    return hr;
}

HRESULT OleControlCore::CreateSurface(HWND parent, const RECT& position) {
    if (!parent) return E_INVALIDARG;
    HWND window = CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  position.left, position.top, position.right - position.left,
                                  position.bottom - position.top, parent, nullptr, ThisModule(), this);
    if (!window) return HRESULT_FROM_WIN32(GetLastError());
    surface_ = window;
    OnSurfaceCreated();
    OnSurfaceResize();
    if (surface_) ShowWindow(surface_, SW_SHOWNA);
    return S_OK;
}

STDMETHODIMP OleControlCore::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = surface_;
    return surface_ ? S_OK : E_FAIL;
}

STDMETHODIMP OleControlCore::InPlaceDeactivate() {
    if (!surface_) return S_OK;
    HWND window = surface_;
    surface_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    if (auto site = std::move(inPlaceSite_)) site->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP OleControlCore::SetObjectRects(LPCRECT position, LPCRECT) {
    if (!position) return E_POINTER;
    if (!surface_) return S_OK;
    SetWindowPos(surface_, nullptr, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

// ---- extent and surface size ----

STDMETHODIMP OleControlCore::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    sizeTwips_ = {HimetricToTwips(size->cx), HimetricToTwips(size->cy)};
    if (surface_)
        SetWindowPos(surface_, nullptr, 0, 0, TwipsToPixelsX(sizeTwips_.cx), TwipsToPixelsY(sizeTwips_.cy),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    else
        OnSurfaceResize();
    return S_OK;
}

STDMETHODIMP OleControlCore::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = {TwipsToHimetric(sizeTwips_.cx), TwipsToHimetric(sizeTwips_.cy)};
    return S_OK;
}

HRESULT OleControlCore::SetSurfaceSize(long widthTwips, long heightTwips) {
    sizeTwips_ = {widthTwips, heightTwips};
    if (!surface_) return S_OK;
    RECT client{};
    GetClientRect(surface_, &client);
    const long width = TwipsToPixelsX(widthTwips), height = TwipsToPixelsY(heightTwips);
    if (client.right == width && client.bottom == height) return S_OK;
    if (!SetWindowPos(surface_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE))
        return HRESULT_FROM_WIN32(GetLastError());
    return NotifyPositionChanged();
}

HRESULT OleControlCore::NotifyPositionChanged() {
    if (!inPlaceSite_ || !surface_) return S_OK;
    RECT bounds{};
    GetWindowRect(surface_, &bounds);
    MapWindowPoints(nullptr, GetParent(surface_), reinterpret_cast<POINT*>(&bounds), 2);
    HRESULT hr = inPlaceSite_->OnPosRectChange(&bounds);
    // A site that does not track positions has nothing to refuse.
    return hr == E_NOTIMPL ? S_OK : hr;
}

void OleControlCore::OnSize(int width, int height) {
    // Keep the size in twips when the window already has it: pixels round.
    if (width != TwipsToPixelsX(sizeTwips_.cx) || height != TwipsToPixelsY(sizeTwips_.cy))
        sizeTwips_ = {PixelsToTwipsX(width), PixelsToTwipsY(height)};
    OnSurfaceResize();
}

void OleControlCore::SetSurfaceMousePointer(short pointer) {
    surfacePointer_ = pointer;
    if (!surface_) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == surface_) SetCursor(LoadCursorW(nullptr, CursorOf(pointer)));
}

BOOL OleControlCore::OnSetCursor() {
    SetCursor(LoadCursorW(nullptr, CursorOf(surfacePointer_)));
    return TRUE;
}

// ---- surface window ----

LRESULT CALLBACK OleControlCore::SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<OleControlCore*>(create->lpCreateParams)->surface_ = window;
    }
    auto* self = reinterpret_cast<OleControlCore*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    ComPtr<IUnknown> keepAlive = self->KeepAlive();
    return self->OnMessage(message, wParam, lParam);
}

LRESULT OleControlCore::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = surface_;
    LRESULT result = 0;
    if (OnSurfaceMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window) return OnSetCursor();
        break;
    case WM_MOUSEACTIVATE:
        // A click on the control (or on its label) gives it the keyboard, so that typed
        // characters reach it.
        if (GetFocus() != window) SetFocus(window);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---- drawing and hit testing ----

STDMETHODIMP OleControlCore::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC draw, LPCRECTL bounds,
                                  LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!draw || !bounds) return E_INVALIDARG;
    RECT area{bounds->left, bounds->top, bounds->right, bounds->bottom};
    FillRect(draw, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawContent(draw, area);
    return S_OK;
}

STDMETHODIMP OleControlCore::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = ComPtr<IAdviseSink>(sink);
    return S_OK;
}

STDMETHODIMP OleControlCore::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) viewSink_.CopyTo(sink);
    return S_OK;
}

STDMETHODIMP OleControlCore::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

STDMETHODIMP OleControlCore::GetViewStatus(DWORD* status) {
    if (!status) return E_POINTER;
    *status = VIEWSTATUS_OPAQUE;
    return S_OK;
}

STDMETHODIMP OleControlCore::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* result) {
    if (!bounds || !result) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    short hit = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    OnHitTest(static_cast<float>(PixelsToTwipsX(location.x - bounds->left)),
              static_cast<float>(PixelsToTwipsY(location.y - bounds->top)), hit);
    *result = static_cast<DWORD>(hit);
    return S_OK;
}

// ---- control info and events ----

STDMETHODIMP OleControlCore::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP OleControlCore::FreezeEvents(BOOL freeze) {
    frozen_ += freeze ? 1 : (frozen_ > 0 ? -1 : 0);
    return S_OK;
}

DISPID OleControlCore::EventId(const wchar_t* name) const {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (sourceInfo_) sourceInfo_->GetIDsOfNames(names, 1, &id);
    return id;
}

void OleControlCore::RaiseEvent(const wchar_t* eventName, std::initializer_list<VARIANT> arguments) {
    if (frozen_ > 0) return;
    DISPID id = EventId(eventName);
    if (id == DISPID_UNKNOWN) return;
    // Automation passes arguments last first.
    std::vector<VARIANT> reversed(arguments.begin(), arguments.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (const auto& sink : events_.Sinks<IDispatch>())
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void OleControlCore::ReportChange(const wchar_t* propertyName) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(propertyName)};
    if (defaultInfo_) defaultInfo_->GetIDsOfNames(names, 1, &id);
    dirty_ = true;
    for (const auto& sink : changes_.Sinks<IPropertyNotifySink>()) sink->OnChanged(id);
}

ComPtr<IFontDisp> OleControlCore::AmbientFont() const {
    auto ambient = clientSite_.As<IDispatch>();
    if (!ambient) return {};
    DISPPARAMS none{};
    Variant font;
    if (FAILED(ambient->Invoke(DISPID_AMBIENT_FONT, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                               font.Get(), nullptr, nullptr)))
        return {};
    if (font.Type() != VT_DISPATCH && font.Type() != VT_UNKNOWN) return {};
    return QueryAs<IFontDisp>(font.Get()->punkVal);
}

// ---- OLE advise ----

STDMETHODIMP OleControlCore::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!connection) return E_POINTER;
    *connection = 0;
    if (!adviseHolder_) {
        HRESULT hr = CreateOleAdviseHolder(adviseHolder_.Put());
        if (FAILED(hr)) return hr;
    }
    return adviseHolder_->Advise(sink, connection);
}

STDMETHODIMP OleControlCore::Unadvise(DWORD connection) {
    return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP OleControlCore::EnumAdvise(IEnumSTATDATA** advise) {
    if (!advise) return E_POINTER;
    *advise = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(advise) : E_FAIL;
}

STDMETHODIMP OleControlCore::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    *status = 0;
    if (aspect != DVASPECT_CONTENT) return S_OK;
    return OleRegGetMiscStatus(clsid_, aspect, status);
}

// ---- persistence ----

STDMETHODIMP OleControlCore::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP OleControlCore::InitNew() {
    try {
        InitNewProperties();
        dirty_ = true;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OleControlCore::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    try {
        // The extent comes first, written by this framework ahead of the control's entries.
        PropertyReader in(*bag, log);
        in.Read(L"_ExtentX", Variant(), VT_I4, [this](const VARIANT& v) {
            sizeTwips_.cx = HimetricToTwips(v.lVal);
            return S_OK;
        });
        in.Read(L"_ExtentY", Variant(), VT_I4, [this](const VARIANT& v) {
            sizeTwips_.cy = HimetricToTwips(v.lVal);
            return S_OK;
        });
        PropertyReader entries(*bag, log);
        ReadProperties(entries);
        AfterReadProperties(entries.LastError());
        dirty_ = false;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OleControlCore::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    try {
        PropertyWriter out(*bag);
        out.WriteAlways(L"_ExtentX", Variant::Long(TwipsToHimetric(sizeTwips_.cx)));
        out.WriteAlways(L"_ExtentY", Variant::Long(TwipsToHimetric(sizeTwips_.cy)));
        if (FAILED(out.LastError())) return out.LastError();
        PropertyWriter entries(*bag);
        WriteProperties(entries);
        AfterWriteProperties(entries.LastError());
        if (clearDirty) dirty_ = false;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OleControlCore::Load(LPSTREAM stream) {
    if (!stream) return E_POINTER;
    try {
        auto bag = MakeObject<StreamPropertyBag>();
        HRESULT hr = bag->LoadFrom(*stream);
        return SUCCEEDED(hr) ? Load(bag.Get(), nullptr) : hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP OleControlCore::Save(LPSTREAM stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    try {
        auto bag = MakeObject<StreamPropertyBag>();
        HRESULT hr = Save(bag.Get(), clearDirty, TRUE);
        return SUCCEEDED(hr) ? bag->SaveTo(*stream) : hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// ---- connection points, class info, property pages ----

STDMETHODIMP OleControlCore::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP OleControlCore::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    ConnectionPoint* found = IsEqualIID(iid, events_.SinkIid())    ? &events_
                             : IsEqualIID(iid, changes_.SinkIid()) ? &changes_
                                                                   : nullptr;
    if (!found) return CONNECT_E_NOCONNECTION;
    *point = found;
    found->AddRef();
    return S_OK;
}

STDMETHODIMP OleControlCore::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return classInfo_ ? classInfo_.CopyTo(info) : TYPE_E_ELEMENTNOTFOUND;
}

STDMETHODIMP OleControlCore::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    *guid = IID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = sourceIid_;
    return S_OK;
}

STDMETHODIMP OleControlCore::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    try {
        std::vector<CLSID> ids = PropertyPageIds();
        auto* elements = static_cast<GUID*>(CoTaskMemAlloc(ids.size() * sizeof(GUID)));
        if (!elements && !ids.empty()) return E_OUTOFMEMORY;
        std::copy(ids.begin(), ids.end(), elements);
        pages->cElems = static_cast<ULONG>(ids.size());
        pages->pElems = elements;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT OleControlCore::ShowPropertyFrame(HWND parent) {
    try {
        std::vector<CLSID> ids = PropertyPageIds();
        IUnknown* objects[] = {Identity()};
        return OleCreatePropertyFrame(parent, 0, 0, L"", 1, objects, static_cast<ULONG>(ids.size()), ids.data(),
                                      LOCALE_USER_DEFAULT, 0, nullptr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace com
