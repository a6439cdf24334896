#include "LateBound.h"

namespace com {
namespace {

HRESULT InvokeByName(IDispatch& object, const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    EXCEPINFO exception{};
    hr = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
    // A failing accessor comes back as an exception that carries its own code.
    if (hr == DISP_E_EXCEPTION && FAILED(exception.scode)) hr = exception.scode;
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

} // namespace

HRESULT GetProperty(IDispatch& object, const wchar_t* name, Variant& value) {
    DISPPARAMS none{};
    value.Clear();
    return InvokeByName(object, name, DISPATCH_PROPERTYGET, none, value.Get());
}

HRESULT PutProperty(IDispatch& object, const wchar_t* name, const Variant& value) {
    Variant argument(value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument.Get(), &named, 1, 1};
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
}

} // namespace com
