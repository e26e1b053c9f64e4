#pragma once
// How the icon commands reach the user beyond the lists, which redraw themselves: the icon picker and the
// window parts that show the selected item.
#include "icons/catalogue.h"

#include <cstdint>
#include <optional>
#include <string>

struct ChosenIcon {
    std::wstring file;
    std::int16_t index = 0;
};

// `ChooseIcon`: the picker opened on a file with one icon selected; none when the user cancelled.
class IconChooserPort {
public:
    virtual ~IconChooserPort() = default;
    virtual std::optional<ChosenIcon> ChooseIcon(const std::wstring& file, std::int16_t index) = 0;
};

// The main window's side of the icon commands.
class IconCommandView {
public:
    virtual ~IconCommandView() = default;
    virtual void SetInfoBar(const std::wstring& text) = 0;
    // The list's Click handling: the information bar and the buttons follow its selected item.
    virtual void ListClick(IconCategory category) = 0;
    // The window no longer names a theme (the session's current theme is cleared already).
    virtual void CaptionCleared() = 0;
};
