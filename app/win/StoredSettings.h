#pragma once
#include <windows.h>
#include <ocidl.h>

#include "com/ComObject.h"

#include <string>
#include <vector>

namespace folio::win {

// The settings a window keeps for one of its controls, handed to the control through
// IPropertyBag. Keys match without regard to case; the first entry of a key answers.
class StoredSettings final : public com::ComObject<com::Expose<IPropertyBag>> {
public:
    StoredSettings() = default;
    void Add(const std::wstring& key, const VARIANT& value);
    void AddInt32(const std::wstring& key, LONG value);
    void AddInt16(const std::wstring& key, SHORT value);
    void AddBool(const std::wstring& key, bool value);
    void AddSingle(const std::wstring& key, float value);
    void AddText(const std::wstring& key, const std::wstring& value);
    void AddObject(const std::wstring& key, IDispatch* object);

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

private:
    ~StoredSettings() override = default;
    struct Entry {
        std::wstring key;
        com::Variant value;
    };
    Entry* Find(LPCOLESTR name);
    std::vector<Entry> entries_;
};

// The stored set of a link on the main window: "MS Sans Serif" 8.25 pt underlined, navy, the
// default pointer, and the extent in HIMETRIC.
com::ComPtr<StoredSettings> LinkSettings(const std::wstring& caption, LONG extentX, LONG extentY);

// "MS Sans Serif" 8.25 pt, weight 400, character set 0, as an OLE font object.
com::ComPtr<IDispatch> CreateSansSerifFontObject(bool underline);

} // namespace folio::win
