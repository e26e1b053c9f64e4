#pragma once
// The sandboxed registry as text, for comparing a whole registry at once (tests/expected/*.inc show the
// form). Keys and values are sorted ignoring letter case; a text stored without its terminating zero is
// marked "(no NUL)".
#include <windows.h>

#include <string>
#include <vector>

struct RegistryValueRecord {
    std::wstring name; // empty: the default value
    DWORD type = 0;
    std::vector<unsigned char> data;
};

struct RegistryKeyRecord {
    HKEY root = nullptr;
    std::wstring rootName; // "HKCR", "HKCU", "HKLM"
    std::wstring subkey;   // empty for the root itself
    bool hasSubkeys = false;
    std::vector<RegistryValueRecord> values;
};

// Every key of the three sandboxed roots, parents before children.
std::vector<RegistryKeyRecord> ListRegistry();

// HKCR, HKCU and HKLM in that order, with `root` (a throwaway folder) shown as %ROOT%.
std::wstring DumpRegistry(const std::wstring& root = {});

// A dump with another laid over it, both in DumpRegistry's form, in one order however they were written:
// "[key]" adds or changes the values it lists, "[-key]" removes a key and "name" = - a value.
// PatchDump(dump, L"") puts a dump in that order.
std::wstring PatchDump(const std::wstring& base, const std::wstring& patch);

// A text value as stored, or "<none>" when it is missing or no text.
std::wstring RawText(HKEY root, const std::wstring& subkey, const std::wstring& name);
