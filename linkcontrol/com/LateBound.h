#pragma once
// Properties of another object addressed by name through its IDispatch (late binding).
#include "ComPtr.h"

namespace com {

HRESULT GetProperty(IDispatch& object, const wchar_t* name, Variant& value);
HRESULT PutProperty(IDispatch& object, const wchar_t* name, const Variant& value);

} // namespace com
