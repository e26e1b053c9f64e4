#include "settings/settings_editor.h"

#include "platform/text.h"
#include "prompts/messages.h"
#include "session/session.h"

#include <algorithm>

namespace {

// The settings that ask before they are turned on, and the answer that lets the toggle go on. Closing a
// warning without a button stops the toggle, as "Cancel" does.
struct ToggleWarning {
    std::wstring_view key;
    int (*show)(PromptPort&);
    int goOn; // -1: a notice; the toggle goes on whatever the answer
    bool onlyAtEightBits = false;
};

constexpr ToggleWarning Warnings[] = {
    {L"Notepad", Messages::ConfirmNotepadConflict, 1},
    {L"Hide Network Neighborhood", Messages::ConfirmHideNetwork, 2},
    {L"Disable Desktop", Messages::ConfirmDisableDesktop, 1},
    {L"Show Icons Using All Possible Colours", Messages::ShowHighColourNeeded, -1, true},
};

bool WarningLetsGoOn(const std::wstring& key, PromptPort& prompts, const StartupFacts& facts) {
    for (const ToggleWarning& w : Warnings) {
        if (w.key != key || (w.onlyAtEightBits && facts.ColourDepth != 8)) continue;
        const int answer = w.show(prompts);
        if (w.goOn >= 0 && answer != w.goOn) return false;
    }
    return true;
}

const SettingRow* NumberRow(const Session& session, const std::wstring& key) {
    const SettingRow* row = FindSettingRow(key);
    const SettingNode* node = session.Settings.Find(key);
    if (!row || !node || row->Kind != SettingKind::Number || node->Image != SettingImage::Editable)
        return nullptr;
    return row;
}

// Stages a number; a real change enables Apply, and a new menu delay waits for a restart.
void StageNumber(Session& session, const std::wstring& key, int value) {
    const std::wstring text = std::to_wstring(value);
    if (session.Settings.StagedText(key) == text) return;
    session.Settings.SetStagedText(key, text);
    if (key == SettingKeys::MenuShowDelay) session.RestartNeeded = true;
    session.MarkChanged();
}

} // namespace

bool ToggleSetting(Session& session, PromptPort& prompts, const std::wstring& key) {
    SettingsState& settings = session.Settings;
    const SettingNode* node = settings.Find(key);
    const SettingRow* row = FindSettingRow(key);
    if (!node || !row || node->Kind != SettingKind::Toggle) return false;
    const std::wstring menuDelay(SettingKeys::MenuShowDelay);
    const bool delayUntilClicked = key == SettingKeys::DelayUntilClicked;
    if (node->Image == SettingImage::Off) {
        if (!WarningLetsGoOn(key, prompts, session.Facts)) return false;
        if (delayUntilClicked) settings.SetImage(menuDelay, SettingImage::Disabled);
        settings.SetImage(key, SettingImage::On);
    } else if (node->Image == SettingImage::On) {
        if (delayUntilClicked) settings.SetImage(menuDelay, SettingImage::Editable);
        settings.SetImage(key, SettingImage::Off);
    } else {
        return false; // unavailable on this system
    }
    session.MarkChanged();
    // Raised for turning off as for turning on; turning back does not lower them.
    if (row->SetsIconCacheDirty) session.IconCacheDirty = true;
    if (NeedsRestart(*row, session.Facts)) session.RestartNeeded = true;
    return true;
}

CorrectedNumber CorrectNumber(const SettingRow& row, int value, const StartupFacts& facts) {
    const int top = NumberMaximum(row.Number, facts);
    if (value > top) return {top, true};
    return {std::max(value, row.Number.Minimum), false};
}

std::optional<int> ChangeNumber(Session& session, SystemPort& system, const std::wstring& key, int value) {
    const SettingRow* row = NumberRow(session, key);
    if (!row) return std::nullopt;
    const CorrectedNumber corrected = CorrectNumber(*row, value, session.Facts);
    if (corrected.beep) system.Beep();
    StageNumber(session, key, corrected.value);
    return corrected.value;
}

std::optional<int> TypeNumber(Session& session, SystemPort& system, const std::wstring& key,
                              std::wstring_view typed) {
    if (!NumberRow(session, key)) return std::nullopt;
    const auto value = text::ParseInteger(typed.empty() ? std::wstring_view(L"0") : typed);
    if (!value || *value < SpinMinimum || *value > SpinMaximum) {
        system.Beep();
        return std::nullopt;
    }
    return ChangeNumber(session, system, key, static_cast<int>(*value));
}

void StageFolderVerb(Session& session, const std::wstring& text) {
    const std::wstring key(SettingKeys::DefaultMenuItem);
    if (!session.Settings.Find(key) || session.Settings.StagedText(key) == text) return;
    session.Settings.SetStagedText(key, text);
    session.MarkChanged();
}

EditorContent SelectSettingNode(Session& session, SystemPort& system, const std::wstring& key) {
    const SettingNode* node = session.Settings.Find(key);
    if (!node) return {};
    if (node->Kind == SettingKind::Choice) {
        LoadFolderVerbIfEmpty(session.Settings);
        return {EditorKind::Choice, key, L"", 0, session.Settings.StagedText(key)};
    }
    const SettingRow* row = NumberRow(session, key);
    if (!row) return {};
    auto parsed = text::ParseInteger(session.Settings.StagedText(key));
    if (!parsed) parsed = text::ParseInteger(row->Number.Fallback);
    const long long staged = parsed.value_or(0);
    const int inSpin = static_cast<int>(std::clamp<long long>(staged, SpinMinimum, SpinMaximum));
    const CorrectedNumber corrected = CorrectNumber(*row, inSpin, session.Facts);
    if (corrected.beep || staged > SpinMaximum) system.Beep();
    // Staged as shown, but not an edit of the user's.
    session.Settings.SetStagedText(key, std::to_wstring(corrected.value));
    return {EditorKind::Number, key, std::wstring(row->Number.Unit), corrected.value,
            std::to_wstring(corrected.value)};
}

NodeMenuItem NodeMenuItemFor(const SettingNode& node, bool expanded) {
    switch (node.Kind) {
    case SettingKind::Group:
        return expanded ? NodeMenuItem{L"Colla&pse", true, NodeAction::Collapse}
                        : NodeMenuItem{L"&Expand", true, NodeAction::Expand};
    case SettingKind::Toggle:
        if (node.Image == SettingImage::Off || node.Image == SettingImage::On)
            return {L"&Toggle", true, NodeAction::Toggle};
        return {L"&Toggle", false, NodeAction::None};
    case SettingKind::Number:
    case SettingKind::Choice:
        break;
    }
    return {L"Cha&nge", false, NodeAction::None};
}
