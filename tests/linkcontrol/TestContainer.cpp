#include "TestContainer.h"

#include <gtest/gtest.h>

namespace testhost {
namespace {

constexpr wchar_t kHostClass[] = L"JumpletTestHost";

// OLE for the whole test program, on its one thread.
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(S_OK, OleInitialize(nullptr)); }
    void TearDown() override { OleUninitialize(); }
};
[[maybe_unused]] auto* const oleEnvironment = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

ComPtr<ITypeInfo> ImplementedInfo(ITypeInfo& classInfo, int wanted) {
    TYPEATTR* attributes = nullptr;
    classInfo.GetTypeAttr(&attributes);
    WORD count = attributes->cImplTypes;
    classInfo.ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < count; ++i) {
        int flags = 0;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> info;
        if (SUCCEEDED(classInfo.GetImplTypeFlags(i, &flags)) && flags == wanted &&
            SUCCEEDED(classInfo.GetRefTypeOfImplType(i, &reference)) &&
            SUCCEEDED(classInfo.GetRefTypeInfo(reference, info.Put())))
            return info;
    }
    return {};
}

std::wstring NameOf(ITypeInfo* info, DISPID id) {
    BSTR name = nullptr;
    UINT count = 0;
    if (!info || FAILED(info->GetNames(id, &name, 1, &count)) || count == 0) return L"#" + std::to_wstring(id);
    return com::Bstr::Adopt(name).Str();
}

int ScreenPpi(int axis) {
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return ppi;
}

MessageBoxRecorder* activeRecorder = nullptr;

BOOL CALLBACK CollectStaticText(HWND child, LPARAM longest) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (_wcsicmp(className, L"Static") != 0) return TRUE;
    int length = GetWindowTextLengthW(child);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(child, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    auto& best = *reinterpret_cast<std::wstring*>(longest);
    if (text.size() > best.size()) best = text;
    return TRUE;
}

} // namespace

// ---- host window ----

HostWindow::HostWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kHostClass;
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, kHostClass, L"Jumplet test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640,
                              480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

HostWindow::~HostWindow() { DestroyWindow(window_); }

HostWindow& SharedHostWindow() {
    static HostWindow host;
    return host;
}

// ---- site ----

STDMETHODIMP Site::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Site::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP Site::GetWindow(HWND* window) {
    *window = parent_;
    return S_OK;
}

STDMETHODIMP Site::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                    LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    *frame = nullptr;
    *document = nullptr;
    *position = position_;
    *clip = position_;
    info->fMDIApp = FALSE;
    info->hwndFrame = parent_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP Site::OnPosRectChange(LPCRECT position) {
    positionChanges.push_back(*position);
    position_ = *position;
    return positionChangeResult;
}

STDMETHODIMP Site::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP Site::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Site::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
    if (!result) return E_POINTER;
    if (id == DISPID_AMBIENT_FONT && ambientFont) {
        *result = Variant::Object(static_cast<IDispatch*>(ambientFont.Get())).Detach();
        return S_OK;
    }
    if (id == DISPID_AMBIENT_USERMODE) {
        *result = Variant::Bool(true).Detach();
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

// ---- property bag ----

std::vector<std::wstring> RecordingPropertyBag::WrittenKeys() const {
    std::vector<std::wstring> keys;
    for (const auto& entry : written) keys.push_back(entry.key);
    return keys;
}

Variant RecordingPropertyBag::WrittenValue(const std::wstring& key, int occurrence) const {
    for (const auto& entry : written)
        if (_wcsicmp(entry.key.c_str(), key.c_str()) == 0 && occurrence-- == 0) return entry.value;
    return {};
}

STDMETHODIMP RecordingPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    readKeys.push_back(name);
    for (const auto& entry : stored)
        if (_wcsicmp(entry.key.c_str(), name) == 0) {
            VARTYPE wanted = value->vt;
            HRESULT hr = VariantCopy(value, const_cast<VARIANT*>(entry.value.Get()));
            if (SUCCEEDED(hr) && wanted != VT_EMPTY && wanted != value->vt)
                hr = VariantChangeType(value, value, 0, wanted);
            return hr;
        }
    return E_INVALIDARG;
}

STDMETHODIMP RecordingPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    written.push_back({name, Variant(*value)});
    return S_OK;
}

// ---- event and change recorders ----

std::vector<std::wstring> EventRecorder::Names() const {
    std::vector<std::wstring> names;
    for (const auto& event : events) names.push_back(event.name);
    return names;
}

STDMETHODIMP EventRecorder::QueryInterface(REFIID iid, void** out) {
    if (IsEqualIID(iid, DIID___Jumplet)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

STDMETHODIMP EventRecorder::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventRecorder::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP EventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    Event event{NameOf(info_.Get(), id), {}};
    if (onEvent) onEvent(event.name, *params);
    for (UINT i = params->cArgs; i-- > 0;) {
        Variant value;
        VariantCopyInd(value.Get(), &params->rgvarg[i]);
        event.arguments.push_back(value);
    }
    events.push_back(std::move(event));
    return S_OK;
}

STDMETHODIMP ChangeRecorder::OnChanged(DISPID id) {
    names.push_back(NameOf(info_.Get(), id));
    return S_OK;
}

// ---- message boxes ----

MessageBoxRecorder::MessageBoxRecorder() {
    activeRecorder = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook, nullptr, GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder() {
    UnhookWindowsHookEx(hook_);
    activeRecorder = nullptr;
}

LRESULT CALLBACK MessageBoxRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    // Read the box once it has set up its texts, that is after its WM_INITDIALOG.
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && activeRecorder && message->message == WM_INITDIALOG) {
        HWND box = message->hwnd;
        wchar_t className[32] = {};
        GetClassNameW(box, className, 32);
        if (wcscmp(className, L"#32770") == 0) {
            Box seen;
            wchar_t title[256] = {};
            GetWindowTextW(box, title, 256);
            seen.title = title;
            EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&seen.text));
            activeRecorder->boxes_.push_back(seen);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- control under test ----

TestControl::TestControl(HostWindow& host, IPropertyBag* stored, Placement placement) {
    CLSID clsid{};
    EXPECT_EQ(S_OK, CLSIDFromProgID(L"JumpletControl.Jumplet", &clsid));
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.PutVoid());
    if (FAILED(hr)) {
        ADD_FAILURE() << "JumpletControl.Jumplet cannot be created: " << std::hex << hr;
        return;
    }
    dispatch = object.As<IDispatch>();
    site = com::MakeObject<Site>(host.Handle(), placement.position);
    site->ambientFont = placement.ambientFont;
    site->positionChangeResult = placement.positionChangeResult;
    object->SetClientSite(site.Get());

    ComPtr<ITypeInfo> classInfo;
    object.As<IProvideClassInfo>()->GetClassInfo(classInfo.Put());
    events = com::MakeObject<EventRecorder>(ImplementedInfo(*classInfo.Get(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE));
    changes = com::MakeObject<ChangeRecorder>(ImplementedInfo(*classInfo.Get(), IMPLTYPEFLAG_FDEFAULT));
    auto points = object.As<IConnectionPointContainer>();
    EXPECT_EQ(S_OK, points->FindConnectionPoint(DIID___Jumplet, eventPoint_.Put()));
    EXPECT_EQ(S_OK, eventPoint_->Advise(events.Get(), &eventCookie_));
    EXPECT_EQ(S_OK, points->FindConnectionPoint(IID_IPropertyNotifySink, changePoint_.Put()));
    EXPECT_EQ(S_OK, changePoint_->Advise(changes.Get(), &changeCookie_));

    auto persist = object.As<IPersistPropertyBag>();
    EXPECT_EQ(S_OK, stored ? persist->Load(stored, nullptr) : persist->InitNew());
    RECT position = placement.position;
    EXPECT_EQ(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, host.Handle(), &position));
}

TestControl::~TestControl() {
    if (!object) return;
    eventPoint_->Unadvise(eventCookie_);
    changePoint_->Unadvise(changeCookie_);
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
}

HRESULT TestControl::Invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    EXCEPINFO exception{};
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
    // A failing accessor comes back as an exception that carries its code.
    if (hr == DISP_E_EXCEPTION && FAILED(exception.scode)) hr = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

Variant TestControl::Get(const wchar_t* name) {
    DISPPARAMS none{};
    Variant result;
    EXPECT_EQ(S_OK, Invoke(name, DISPATCH_PROPERTYGET, none, result.Get())) << "reading " << std::string(name, name + wcslen(name));
    return result;
}

HRESULT TestControl::Put(const wchar_t* name, const Variant& value) {
    Variant argument(value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument.Get(), &named, 1, 1};
    return Invoke(name, DISPATCH_PROPERTYPUT, params, nullptr);
}

HRESULT TestControl::PutRef(const wchar_t* name, IDispatch* object) {
    Variant argument = Variant::Object(object);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument.Get(), &named, 1, 1};
    return Invoke(name, DISPATCH_PROPERTYPUTREF, params, nullptr);
}

HRESULT TestControl::Call(const wchar_t* name) {
    DISPPARAMS none{};
    return Invoke(name, DISPATCH_METHOD, none, nullptr);
}

std::wstring TestControl::GetText(const wchar_t* name) {
    Variant value = Get(name);
    return value.Type() == VT_BSTR ? com::BstrText(value.Get()->bstrVal) : L"<not text>";
}

long TestControl::GetLong(const wchar_t* name) {
    Variant value = Get(name);
    EXPECT_EQ(S_OK, value.ChangeType(VT_I4));
    return value.Get()->lVal;
}

HWND TestControl::Surface() const {
    HWND window = nullptr;
    if (auto inPlace = object.As<IOleInPlaceObject>()) inPlace->GetWindow(&window);
    return window;
}

SIZEL TestControl::Extent() const {
    SIZEL size{};
    object->GetExtent(DVASPECT_CONTENT, &size);
    return size;
}

HRESULT TestControl::Save(RecordingPropertyBag& bag) {
    return object.As<IPersistPropertyBag>()->Save(&bag, TRUE, TRUE);
}

// ---- helpers ----

ComPtr<IFontDisp> MakeFont(const wchar_t* name, double points, bool bold, bool underline) {
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(name);
    description.cySize.int64 = static_cast<LONGLONG>(points * 10000);
    description.sWeight = bold ? FW_BOLD : FW_NORMAL;
    description.fUnderline = underline;
    ComPtr<IFontDisp> font;
    OleCreateFontIndirect(&description, IID_IFontDisp, font.PutVoid());
    return font;
}

std::wstring FontName(IDispatch* font) {
    auto typed = com::QueryAs<IFont>(font);
    if (!typed) return L"<no font>";
    com::Bstr name;
    typed->get_Name(name.Put());
    return name.Str();
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

long PixelsToTwipsX(long pixels) { return MulDiv(pixels, 1440, ScreenPpi(LOGPIXELSX)); }
long PixelsToTwipsY(long pixels) { return MulDiv(pixels, 1440, ScreenPpi(LOGPIXELSY)); }
long TwipsToPixelsX(long twips) { return MulDiv(twips, ScreenPpi(LOGPIXELSX), 1440); }
long TwipsToPixelsY(long twips) { return MulDiv(twips, ScreenPpi(LOGPIXELSY), 1440); }
long TwipsToHimetric(long twips) { return MulDiv(twips, 2540, 1440); }

bool SameValue(const Variant& actual, const Variant& expected) {
    Variant converted(actual);
    if (FAILED(converted.ChangeType(expected.Type()))) return false;
    return VarCmp(converted.Get(), const_cast<VARIANT*>(expected.Get()), LOCALE_USER_DEFAULT, 0) ==
           static_cast<HRESULT>(VARCMP_EQ);
}

bool WindowShowsColor(HWND window, COLORREF color) {
    SIZE size = ClientSize(window);
    HDC dc = GetDC(window);
    bool found = false;
    for (int y = 0; y < size.cy && !found; ++y)
        for (int x = 0; x < size.cx && !found; ++x) found = GetPixel(dc, x, y) == color;
    ReleaseDC(window, dc);
    return found;
}

} // namespace testhost
