#pragma once
// Replaces one imported function of a loaded module by rewriting its import address table,
// and puts the original back when it goes. This is how the tests stand in for the platform
// calls the real DLL makes (the shell), without changing the DLL.
#include <windows.h>

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* library, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    bool Applied() const { return slot_ != nullptr; }

private:
    static void Write(void** slot, void* value);
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
