#pragma once
// Functions of libraries that starting the program does not need (the shell, the file dialogs, version
// resources). Importing them would make every start load them; resolved on first use, only the commands
// that need them pay.
#include <windows.h>

// The function, or null when the library or the function cannot be found. The library stays loaded
// for the rest of the process, as an imported one would.
template <typename Function> Function* LateBound(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
