#include "platform/profile.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <vector>

namespace Profile {

std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
    // Most values are short paths: start small and grow only when the platform says the value was cut.
    std::vector<wchar_t> buffer(512);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD n =
            GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(), size, file.c_str());
        if (n + 1 < size) return n > MaxValueChars ? std::wstring() : std::wstring(buffer.data(), n);
        if (size > MaxValueChars) return {};
        buffer.assign(static_cast<size_t>(size) * 8, L'\0');
    }
}

bool WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                 const std::wstring& file) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool CanWrite(const std::wstring& file) {
    // Asked directly as well: a process with the rights to override the attribute would still write.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    UniqueKernelHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        handle.release();
        return false;
    }
    return true;
}

} // namespace Profile
