#include "platform/ports.h"

#include <windows.h>

void RealMessageBoxPort::ShowMessage(const std::wstring& text) {
    MessageBoxW(GetActiveWindow(), text.c_str(), L"Tessaly", MB_OK);
}
