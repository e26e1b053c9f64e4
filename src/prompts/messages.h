#pragma once
// Every question and notice Tessaly shows, one function each. They fill in the prompt, show it through
// the port and hand back the index of the last button pressed (0 to 2), or PromptResult::Closed (4)
// when the prompt was closed before any. No window is touched here.
#include "platform/ports.h"

#include <string>
#include <vector>

namespace Messages {

// What the two suppressible prompts give back when the user has switched them off.
inline constexpr int NotShown = -1;

// "OK": some changes wait for the next start of Windows.
int ShowNextStartNotice(PromptPort& prompts);
// "&Settings..." (opens the display settings, stays open) / "OK".
int ShowHighColourNeeded(PromptPort& prompts);
// "Cancel" / "OK".
int ConfirmNotepadConflict(PromptPort& prompts);
// "&Help" (stays open) / "Cancel" / "OK".
int ConfirmHideNetwork(PromptPort& prompts);
// "Cancel" / "OK".
int ConfirmDisableDesktop(PromptPort& prompts);
// "Cancel" / "OK"; osName is "Windows 95" or "Windows NT".
int ConfirmRestorePointers(PromptPort& prompts, const std::wstring& osName);
int ConfirmRestoreIcons(PromptPort& prompts, const std::wstring& osName);
int ConfirmRestoreSettings(PromptPort& prompts, const std::wstring& osName);
// "&Cancel" / "No" / "Yes".
int AskSaveChanges(PromptPort& prompts);
// "OK". Returns NotShown without showing once switched off ("Dialog Missing").
int ShowMissingIcons(PromptPort& prompts);
// "OK".
int ShowInvalidTheme(PromptPort& prompts, const std::wstring& path);
// "OK": the theme file cannot be written.
int ShowThemeNotSaved(PromptPort& prompts, const std::wstring& path);
// "&Cancel" / "No" / "Yes". Returns 2 without asking once the user has ticked the box ("Dialog Overwrite");
// a tick is stored whichever button closed the prompt.
int AskOverwriteTheme(PromptPort& prompts, const std::wstring& path);
// "No" / "Yes". Only the question: the restart itself is the caller's.
int AskRestart(PromptPort& prompts);
// "&Help" (stays open) / "OK". Returns NotShown without showing once switched off ("Dialog Rebuild").
int ShowRebuildNotice(PromptPort& prompts, const std::wstring& osName);
// "OK".
int ShowEmptyIconName(PromptPort& prompts);
// "OK". One line per failed write ("Beep On Errors: access denied"); ten at most, then how many more.
int ShowFailedWrites(PromptPort& prompts, const std::vector<std::wstring>& lines);
// "Cancel" / "OK".
int AskUndoLastApply(PromptPort& prompts);
// "OK".
int ShowUndoRecordDamaged(PromptPort& prompts);

} // namespace Messages
