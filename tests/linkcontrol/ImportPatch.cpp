#include "ImportPatch.h"

#include <cstring>

ImportPatch::ImportPatch(HMODULE module, const char* library, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<char*>(base + entry->Name), library) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            slot_ = reinterpret_cast<void**>(&slots->u1.Function);
            original_ = *slot_;
            Write(slot_, replacement);
            return;
        }
    }
}

ImportPatch::~ImportPatch() {
    if (slot_) Write(slot_, original_);
}

void ImportPatch::Write(void** slot, void* value) {
    DWORD previous = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
}
