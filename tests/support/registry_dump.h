#pragma once
// The sandboxed registry as text, for comparing a whole registry with what a test expects. One block per
// key that holds values or has no subkeys (the keys between are implied by the paths):
//
//   [HKCU\Control Panel\Cursors]
//   "Arrow" = "C:\Cursors\arrow.cur"
//   "Splash" = dword:1
//   "NoSaveSettings" = hex:00,00,00,00
//   @ = "the default value"
//
// Keys and values are sorted ignoring letter case, the default value first. A text stored without its
// terminating zero is marked "(no NUL)".
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct RegistryValueRecord {
    std::wstring name; // empty: the default value
    DWORD type = 0;
    std::vector<unsigned char> data;
};

struct RegistryKeyRecord {
    HKEY root = nullptr;   // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    std::wstring rootName; // "HKCR", "HKCU", "HKLM"
    std::wstring subkey;   // empty for the root itself
    bool hasSubkeys = false;
    std::vector<RegistryValueRecord> values; // sorted, the default value first
};

// Every key of the three sandboxed roots, parents before children, siblings sorted ignoring letter case.
std::vector<RegistryKeyRecord> ListRegistry();

// HKCR, HKCU and HKLM in that order. Each (text, placeholder) pair is replaced throughout, so that paths of
// a throwaway folder read the same in every run.
std::wstring DumpRegistry(const std::vector<std::pair<std::wstring, std::wstring>>& placeholders = {});

// Line ends as "\n" and no blank lines, so that an expected dump may be written with any line ends.
std::wstring NormaliseDump(const std::wstring& text);
