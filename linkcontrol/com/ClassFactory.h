#pragma once
// The class object behind DllGetClassObject: makes one kind of object per factory.
#include "ComObject.h"
#include <unknwn.h>

namespace com {

// Makes a new object and answers the requested interface from it.
using CreateFunction = HRESULT (*)(REFIID iid, void** out);

class ClassFactory : public ComObject<Expose<IClassFactory>> {
public:
    explicit ClassFactory(CreateFunction create) : create_(create) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    CreateFunction create_;
};

// CreateFunction for any object type T with a default constructor.
template <class T>
HRESULT CreateObject(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        ComPtr<T> object = MakeObject<T>();
        if (!object) return E_OUTOFMEMORY;
        return object->QueryInterface(iid, out);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

} // namespace com
