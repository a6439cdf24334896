#include "ControlHost.h"

#include "com/ComObject.h"

#include <olectl.h>

namespace folio::win {

// IDispatch for objects whose members are reached by dispatch identifier only: it offers no
// type information and knows no names. The object adds Invoke.
class DispatchByIdOnly : public com::Expose<IDispatch> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }

protected:
    ~DispatchByIdOnly() = default;
};

// The container side of one control: its client site, its in-place site and frame, and the
// ambient properties it asks for by dispatch identifier.
class ControlSite final
    : public com::ComObject<com::Expose<IOleClientSite>, com::Expose<IOleInPlaceSite, IOleWindow>,
                            com::Expose<IOleInPlaceFrame, IOleInPlaceUIWindow>, DispatchByIdOnly> {
public:
    ControlSite(HWND parent, RECT place) : parent_(parent), place_(place) {}
    void SetPlace(const RECT& place) { place_ = place; }
    const RECT& Place() const { return place_; }
    void SetInPlaceObject(com::ComPtr<IOleInPlaceObject> object) { inPlace_ = std::move(object); }
    const com::ComPtr<IOleInPlaceObject>& InPlaceObject() const { return inPlace_; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, shared by the in-place site and the frame
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = parent_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = place_;
        *clip = place_;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(parent_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        inPlace_.Reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    // The control sizes itself to its caption; its rectangle is the one it asks for.
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override {
        if (!position)
            return E_POINTER;
        place_ = *position;
        return S_OK;
    }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: a frame without tools or menus.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the ambient properties.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (!(flags & DISPATCH_PROPERTYGET) || !result)
            return DISP_E_MEMBERNOTFOUND;
        VariantInit(result);
        switch (id) {
        case DISPID_AMBIENT_FONT:
            return AmbientFont(result);
        case DISPID_AMBIENT_USERMODE:
            return Boolean(result, true);
        case DISPID_AMBIENT_UIDEAD:
        case DISPID_AMBIENT_SHOWHATCHING:
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_MESSAGEREFLECT:
        case DISPID_AMBIENT_DISPLAYASDEFAULT:
        case DISPID_AMBIENT_SUPPORTSMNEMONICS:
            return Boolean(result, false);
        case DISPID_AMBIENT_BACKCOLOR:
            return Colour(result, 0x80000000 | COLOR_BTNFACE);
        case DISPID_AMBIENT_FORECOLOR:
            return Colour(result, 0x80000000 | COLOR_BTNTEXT);
        case DISPID_AMBIENT_LOCALEID:
            result->vt = VT_I4;
            result->lVal = static_cast<LONG>(GetUserDefaultLCID());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    ~ControlSite() override = default;

    HRESULT AmbientFont(VARIANT* result) {
        if (!font_)
            font_ = CreateSansSerifFontObject(false);
        if (!font_)
            return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_DISPATCH;
        result->pdispVal = font_.Get();
        font_->AddRef();
        return S_OK;
    }
    static HRESULT Boolean(VARIANT* result, bool value) {
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    static HRESULT Colour(VARIANT* result, DWORD value) {
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(value);
        return S_OK;
    }

    HWND parent_;
    RECT place_;
    com::ComPtr<IOleInPlaceObject> inPlace_;
    com::ComPtr<IDispatch> font_;
};

// Receives the control's events and hands each to the host's callback.
class ControlEvents final : public com::ComObject<DispatchByIdOnly> {
public:
    ControlEvents(IID eventInterface, std::function<void(DISPID)> onEvent)
        : eventInterface_(eventInterface), onEvent_(std::move(onEvent)) {}
    void Disconnect() { onEvent_ = nullptr; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result)
            VariantInit(result);
        if (!onEvent_)
            return S_OK;
        try {
            onEvent_(id);
        } catch (const std::exception&) {
            return E_FAIL;
        }
        return S_OK;
    }

private:
    ~ControlEvents() override = default;
    // The control's event interface is known only at run time; it is answered as IDispatch.
    void* FindInterface(REFIID iid) override {
        if (iid == eventInterface_)
            return static_cast<IDispatch*>(this);
        return ComObject::FindInterface(iid);
    }

    IID eventInterface_;
    std::function<void(DISPID)> onEvent_;
};

namespace {

// The rectangle of a control at a position, as large as its stored extent.
RECT PlaceFromExtent(HWND parent, POINT position, IOleObject* object) {
    SIZEL extent{0, 0};
    object->GetExtent(DVASPECT_CONTENT, &extent);
    HDC dc = GetDC(parent);
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(parent, dc);
    return RECT{position.x, position.y, position.x + MulDiv(extent.cx, dpiX, 2540),
                position.y + MulDiv(extent.cy, dpiY, 2540)};
}

} // namespace

bool IsNotRegistered(HRESULT failure) {
    return failure == REGDB_E_CLASSNOTREG || failure == CO_E_CLASSSTRING || failure == CO_E_DLLNOTFOUND ||
           failure == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
}

std::unique_ptr<ControlHost> ControlHost::Create(const CreateArgs& args, HRESULT& failure) {
    std::unique_ptr<ControlHost> host(new ControlHost());
    failure = host->Activate(args);
    if (FAILED(failure))
        return nullptr;
    return host;
}

HRESULT ControlHost::Activate(const CreateArgs& args) {
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(args.progId, &classId);
    if (FAILED(hr))
        return hr;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid());
    if (FAILED(hr))
        return hr;
    site_ = com::MakeObject<ControlSite>(args.parent, RECT{args.position.x, args.position.y, args.position.x,
                                                            args.position.y});
    if (!site_)
        return E_OUTOFMEMORY;
    hr = object_->SetClientSite(static_cast<IOleClientSite*>(site_.Get()));
    if (FAILED(hr))
        return hr;

    auto persist = object_.As<IPersistPropertyBag>();
    if (!persist)
        return E_NOINTERFACE;
    hr = args.settings ? persist->Load(args.settings.Get(), nullptr) : persist->InitNew();
    if (FAILED(hr))
        return hr;

    if (auto container = object_.As<IConnectionPointContainer>()) {
        if (SUCCEEDED(container->FindConnectionPoint(args.eventInterface, connection_.Put()))) {
            events_ = com::MakeObject<ControlEvents>(args.eventInterface, args.onEvent);
            if (!events_ || FAILED(connection_->Advise(static_cast<IDispatch*>(events_.Get()), &cookie_)))
                connection_.Reset();
        }
    }

    RECT place = PlaceFromExtent(args.parent, args.position, object_.Get());
    site_->SetPlace(place);
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_.Get()), 0,
                         args.parent, &place);
    if (FAILED(hr))
        return hr;
    site_->SetInPlaceObject(object_.As<IOleInPlaceObject>());
    return S_OK;
}

ControlHost::~ControlHost() {
    if (events_)
        events_->Disconnect();
    if (connection_)
        connection_->Unadvise(cookie_);
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    if (site_)
        site_->SetInPlaceObject(nullptr);
}

void ControlHost::MoveTo(POINT position) {
    if (!site_ || !site_->InPlaceObject())
        return;
    RECT place = site_->Place();
    OffsetRect(&place, position.x - place.left, position.y - place.top);
    site_->SetPlace(place);
    site_->InPlaceObject()->SetObjectRects(&place, &place);
}

HWND ControlHost::Window() const {
    HWND window = nullptr;
    if (site_ && site_->InPlaceObject())
        site_->InPlaceObject()->GetWindow(&window);
    return window;
}

} // namespace folio::win
