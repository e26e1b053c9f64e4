#include "support/registry_sandbox.h"

#include "registry/registry.h"

#include <windows.h>

namespace {

UniqueHKey CreateUnder(HKEY parent, const std::wstring& subkey) {
    UniqueHKey key;
    if (RegCreateKeyExW(parent, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        key.abandon();
    return key;
}

const HKEY Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
const wchar_t* const Names[] = {L"HKCR", L"HKCU", L"HKLM"};

} // namespace

RegistrySandbox::RegistrySandbox() {
    static int counter = 0;
    // Test programs may run side by side in one prefix; each case gets its own keys.
    root_ = L"Software\\TessalyTests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    // A killed run leaves its keys behind, and Wine soon hands its process id out again.
    RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
    // All made before any is redirected: the keys stand under the real HKEY_CURRENT_USER.
    for (int i = 0; i < 3; ++i) keys_[i] = CreateUnder(HKEY_CURRENT_USER, root_ + L"\\" + Names[i]);
    for (int i = 0; i < 3; ++i) RegOverridePredefKey(Roots[i], keys_[i].get());
    Registry::SetMessagePort(&messages);
}

RegistrySandbox::~RegistrySandbox() {
    Registry::SetMessagePort(nullptr);
    for (int i = 0; i < 3; ++i) {
        RegOverridePredefKey(Roots[i], nullptr);
        keys_[i].reset();
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, root_.c_str());
}

void RawSetValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type,
                 const void* data, DWORD size) {
    UniqueHKey key = CreateUnder(root, subkey);
    RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void RawSetString(HKEY root, const std::wstring& subkey, const std::wstring& name,
                  const std::wstring& value) {
    RawSetValue(root, subkey, name, REG_SZ, value.c_str(),
                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RawSetDword(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD value) {
    RawSetValue(root, subkey, name, REG_DWORD, &value, sizeof value);
}

RawValue RawGetValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    RawValue v;
    UniqueHKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        key.abandon();
        return v;
    }
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS)
        return v;
    v.data.resize(size);
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &v.type, v.data.data(), &size) != ERROR_SUCCESS)
        return v;
    v.data.resize(size);
    v.exists = true;
    return v;
}

bool RawKeyExists(HKEY root, const std::wstring& subkey) {
    UniqueHKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        key.abandon();
        return false;
    }
    return true;
}
