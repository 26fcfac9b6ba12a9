#pragma once
#include <windows.h>

namespace inkmoss {

// A system library loaded when its first service is needed instead of with
// the program: under Wine every library bound at start-up, and those it
// binds in turn, costs time and memory before the first window shows. The
// library stays loaded for the rest of the run.
class SystemLibrary {
public:
    explicit SystemLibrary(const char* name) : module_(LoadLibraryA(name)) {}

    // The library's function `name`, typed as its declaration in the
    // system's headers (`decltype(ShellExecuteA)`); null when the library
    // or the function is missing.
    template <typename Function>
    Function* function(const char* name) const {
        if (!module_) return nullptr;
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

}  // namespace inkmoss
