#include "platform/file_icon.h"

#include "platform/unique_handle.h"

HICON ExtractFileIcon(const std::wstring& file, int index) {
    HICON icon = nullptr;
    UINT id = 0; // Wine hands out the wanted icon only when the resource ids are asked for as well
    const UINT found = PrivateExtractIconsW(file.c_str(), index, GetSystemMetrics(SM_CXICON),
                                            GetSystemMetrics(SM_CYICON), &icon, &id, 1, LR_DEFAULTCOLOR);
    if (found == 0 || found == UINT(-1)) {
        if (icon) DestroyIcon(icon);
        return nullptr;
    }
    return icon;
}

int FileIconCount(const std::wstring& file) {
    const UINT count = PrivateExtractIconsW(file.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0);
    return count == UINT(-1) ? 0 : static_cast<int>(count);
}

bool IsProgramFile(const std::wstring& file) {
    UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!handle) return false;
    char start[2]{};
    DWORD read = 0;
    return ReadFile(handle.get(), start, sizeof start, &read, nullptr) && read == sizeof start &&
           start[0] == 'M' && start[1] == 'Z';
}
