#pragma once
// A property bag held in memory, for hosts that persist a control through a stream
// (IPersistStreamInit): the control saves into the bag as it would into a host's bag, and
// the bag writes its entries to the stream; loading runs the other way.
#include "ComObject.h"
#include <ocidl.h>
#include <string>
#include <vector>

namespace com {

class StreamPropertyBag : public ComObject<Expose<IPropertyBag>> {
public:
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override;

    // Entries: numbers, truth values, texts, and objects that persist to a stream.
    HRESULT SaveTo(IStream& stream) const;
    HRESULT LoadFrom(IStream& stream);

private:
    struct Entry {
        std::wstring name;
        Variant value;
    };
    std::vector<Entry> entries_;
};

} // namespace com
