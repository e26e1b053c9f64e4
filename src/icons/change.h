#pragma once
// The Change command: a new icon from the picker on the six icon tabs, a new pointer file on the Pointer
// tab, staged on the selected item of the selected tab.
#include "icons/icon_ports.h"
#include "platform/ports.h"

class Session;

inline constexpr wchar_t PointerBrowseTitle[] = L"Browse for Pointers";
// Description and pattern pairs, each text followed by one NUL.
inline constexpr wchar_t PointerBrowseFilter[] = L"Cursor Files\0*.cur;*.ani\0"
                                                 L"Standard Cursors (*.cur)\0*.cur\0"
                                                 L"Animated Cursors (*.ani)\0*.ani\0";
std::wstring PointerFilter();

// Does nothing on the settings tab.
void cmdChange_Click(Session& session, IconChooserPort& chooser, FileDialogPort& files,
                     IconCommandView& view);
