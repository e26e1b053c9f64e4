#pragma once
// Context help: the help-select mode, in which the next click on a control asks for that control's
// topic, and the small pop-up that shows a topic beside what it explains until the next click or key.
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <optional>
#include <string>

inline constexpr wchar_t HelpPopupClass[] = L"TessalyHelpPopup";

// The control a click in help-select mode landed on: the smallest visible child of the window under the
// pointer, or the window itself between its controls.
struct WhatsThisClick {
    HWND control = nullptr;
    POINT screen{};
};

// Runs the help-select mode over a window until a click: nothing when Esc is pressed, the click falls
// outside the window or the window loses the mouse. The pointer shows the help-select cursor meanwhile.
std::optional<WhatsThisClick> RunWhatsThisMode(HWND window);

// The pop-up: the topic's title and words beside `anchor` (screen coordinates), or the no-help text for
// topic 0 or a topic that does not exist. One pop-up at a time; it closes on the next click or key.
void ShowHelpPopup(HWND owner, const RECT& anchor, int topic);
// The pop-up now shown, for those that look at it; null when none is.
HWND HelpPopupWindow();
// The text a pop-up shows for a topic, title and words apart by a blank line.
std::wstring HelpPopupText(int topic);
