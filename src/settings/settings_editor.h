#pragma once
// What the user can do on the Shell tab: toggle a setting (with its warnings and side effects), change a
// number (with its corrections), pick the folder verb, and what the value editor shows for a node. These
// work on the session and speak through ports; the window shows what they decide and keeps nothing.
#include "platform/ports.h"
#include "settings/settings_catalogue.h"

#include <optional>
#include <string>
#include <string_view>

class Session;

// The spin control's range: every number the editor shows lies in it.
inline constexpr int SpinMinimum = 0;
inline constexpr int SpinMaximum = 9999;

// Toggles an on/off setting (double-click, space bar, "&Toggle"). A setting with a warning asks first and
// stays as it is unless the user goes on. True when the setting changed.
bool ToggleSetting(Session& session, PromptPort& prompts, const std::wstring& key);

// A number brought into its row's range: above the top it becomes the top, with a beep; below the bottom
// it becomes the bottom, silently (a width of 0 becomes 1).
struct CorrectedNumber {
    int value = 0;
    bool beep = false;
};
CorrectedNumber CorrectNumber(const SettingRow& row, int value, const StartupFacts& facts);

// The spin control moved to `value` (SystemScroll_Change): the rule, its beep, the staged text and the
// flags. Returns the value the editor shows; none when the key is not an editable number.
std::optional<int> ChangeNumber(Session& session, SystemPort& system, const std::wstring& key, int value);

// A key released in the text box (SystemText_KeyUp). An empty text counts as 0. Text the spin control
// cannot hold (letters, fractions, negatives, above its top) is refused with a beep: no value, and the
// caller undoes the last edit. Otherwise as ChangeNumber.
std::optional<int> TypeNumber(Session& session, SystemPort& system, const std::wstring& key,
                              std::wstring_view typed);

// The folder verb as picked or typed in the combo box: whatever the box holds is staged.
void StageFolderVerb(Session& session, const std::wstring& text);

enum class EditorKind { None, Number, Choice };

// What the value editor shows for a selected node.
struct EditorContent {
    EditorKind kind = EditorKind::None;
    std::wstring caption; // the frame's: the node's key
    std::wstring unit;    // "pixels" or "milliseconds"; empty beside the folder verb
    int value = 0;        // the spin control's
    std::wstring text;    // the text box's or the combo box's
};

// Selecting a node (SystemTree_NodeClick). The folder verb is read on its first selection. A number's
// staged text is brought into the spin control's range by its rule and staged as shown; a text that is no
// number shows the setting's fallback. Selecting is not an edit: Apply and the flags stay as they were.
EditorContent SelectSettingNode(Session& session, SystemPort& system, const std::wstring& key);

// Item 2 of the right-click menu, which follows the node.
enum class NodeAction { None, Toggle, Expand, Collapse };
struct NodeMenuItem {
    std::wstring_view caption;
    bool enabled = false;
    NodeAction action = NodeAction::None;
};
NodeMenuItem NodeMenuItemFor(const SettingNode& node, bool expanded);
