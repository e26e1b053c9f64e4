#pragma once
// Gives one test case a registry of its own: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// are redirected to fresh empty keys for the case's lifetime, then the keys are removed.
// The registry layer's format message is recorded instead of shown.
#include "platform/ports.h"
#include "platform/unique_handle.h"

#include <string>
#include <vector>

class RecordingMessagePort : public MessageBoxPort {
public:
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    std::vector<std::wstring> messages;
};

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    RecordingMessagePort messages;

private:
    std::wstring root_;  // under the real HKEY_CURRENT_USER
    UniqueHKey keys_[3]; // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE stand in these
};

// The program's preferences key under HKEY_CURRENT_USER, spelt out so that a wrong key in the program shows.
inline const std::wstring ProgramSubkey = L"Software\\Korvath\\Tessaly\\2.0\\Settings";

// Raw access for arranging and checking data, bypassing the layer under test (follows the redirection).
void RawSetValue(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD type,
                 const void* data, DWORD size);
void RawSetString(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& value);
void RawSetDword(HKEY root, const std::wstring& subkey, const std::wstring& name, DWORD value);
struct RawValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<unsigned char> data;
};
RawValue RawGetValue(HKEY root, const std::wstring& subkey, const std::wstring& name);
bool RawKeyExists(HKEY root, const std::wstring& subkey);
