#pragma once
// Entry-by-entry saving and loading of a control's settings through a property bag. A
// failing entry is skipped; the most recent failure is kept for the caller to report.
#include "ComPtr.h"
#include <functional>
#include <ocidl.h>

namespace com {

class PropertyWriter {
public:
    explicit PropertyWriter(IPropertyBag& bag) : bag_(bag) {}

    // Writes the value unless it equals the write default, compared as automation values
    // (so a Boolean False equals an Integer 0).
    void Write(const wchar_t* key, const Variant& value, const Variant& writeDefault);
    void WriteAlways(const wchar_t* key, const Variant& value);
    // Writes an object, or nothing for a null one.
    void WriteObject(const wchar_t* key, IUnknown* object);

    // An entry that failed before it reached the bag.
    void RecordFailure(HRESULT hr) { lastError_ = hr; }
    HRESULT LastError() const { return lastError_; }

private:
    IPropertyBag& bag_;
    HRESULT lastError_ = S_OK;
};

class PropertyReader {
public:
    using Apply = std::function<HRESULT(const VARIANT& value)>;

    PropertyReader(IPropertyBag& bag, IErrorLog* log) : bag_(bag), log_(log) {}

    // Reads key (any type), falls back to readDefault when the bag does not hold it, converts
    // to type and hands the value to apply. A value that does not convert, or that apply
    // rejects, is skipped and remembered. An empty default for an absent key applies nothing.
    void Read(const wchar_t* key, const Variant& readDefault, VARTYPE type, const Apply& apply);

    HRESULT LastError() const { return lastError_; }

private:
    IPropertyBag& bag_;
    IErrorLog* log_;
    HRESULT lastError_ = S_OK;
};

} // namespace com
