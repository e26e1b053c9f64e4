#include "prompts/messages.h"

#include "registry/program_keys.h"
#include "registry/registry.h"
#include "registry/write_recorder.h"

namespace Messages {
namespace {

const std::wstring AreYouSureToChange = L"Are you sure you want to change this setting?";
const std::wstring AreYouSureToContinue = L"Are you sure you want to continue?";
const std::wstring DoNotShowAgain = L"Do not show this dialog again";

Prompt Make(std::wstring message, std::array<std::wstring, 3> buttons, int icon,
            std::wstring checkCaption = {}, int width = 0, std::wstring helpKeyword = {}) {
    return Prompt{std::move(message),    std::move(buttons), icon, std::move(checkCaption), width,
                  std::move(helpKeyword)};
}

int Ask(PromptPort& prompts, const Prompt& prompt) {
    return prompts.ShowPrompt(prompt).button;
}

// A stored 0 or the not-found sentinel lets the prompt show; anything else means the user switched it off.
bool Suppressed(const wchar_t* valueName) {
    const auto stored = Registry::ReadDword(ProgramSettingsKey, valueName);
    return stored != 0 && stored != Registry::ErrorNumber;
}

int AskSuppressible(PromptPort& prompts, const Prompt& prompt, const wchar_t* valueName) {
    const PromptResult result = prompts.ShowPrompt(prompt);
    if (result.ticked) {
        Registry::WriteRecorder unrecorded(false); // a preference of the prompt's own: no Apply undoes it
        Registry::WriteDword(ProgramSettingsKey, valueName, 1);
    }
    return result.button;
}

int ConfirmRestore(PromptPort& prompts, const std::wstring& osName, const std::wstring& what) {
    return Ask(prompts, Make(L"Restoring all your " + osName + L" " + what +
                                 L" will return them to Microsoft setup defaults.\n\n" + AreYouSureToContinue,
                             {L"Cancel", L"OK", L""}, PromptIconQuestion));
}

} // namespace

int ShowNextStartNotice(PromptPort& prompts) {
    return Ask(prompts,
               Make(L"One or more of these changes you have made will only take effect the next time you "
                    L"start Windows.",
                    {L"OK", L"", L""}, PromptIconInformation));
}

int ShowHighColourNeeded(PromptPort& prompts) {
    return Ask(prompts,
               Make(L"Your display is currently configured for 256 colours or less.\n\n"
                    L"To use high colour icons, your display's colour palette must be set to either High "
                    L"Colour or True Colour.\n\n"
                    L"You can change your colour palette settings by selecting the \"Settings...\" button "
                    L"below.",
                    {L"&Settings...", L"OK", L""}, PromptIconError));
}

int ConfirmNotepadConflict(PromptPort& prompts) {
    return Ask(prompts,
               Make(L"Adding Notepad to all files causes conflicts with the Microsoft Office shortcut "
                    L"bar.\n\n" +
                        AreYouSureToChange,
                    {L"Cancel", L"OK", L""}, PromptIconQuestion));
}

int ConfirmHideNetwork(PromptPort& prompts) {
    return Ask(prompts,
               Make(L"Hiding Network Neighborhood disables shell support for Universal Naming Convention "
                    L"(UNC) notation.\n\n" +
                        AreYouSureToChange,
                    {L"&Help", L"Cancel", L"OK"}, PromptIconExclamation, {}, 0,
                    L"Hide, Network Neighborhood"));
}

int ConfirmDisableDesktop(PromptPort& prompts) {
    // "irreversable" is how the product has always spelled it.
    return Ask(prompts,
               Make(L"Disabling the Desktop causes a conflict with Internet Explorer 4.0 which may make "
                    L"this change irreversable.\n\n" +
                        AreYouSureToChange,
                    {L"Cancel", L"OK", L""}, PromptIconExclamation));
}

int ConfirmRestorePointers(PromptPort& prompts, const std::wstring& osName) {
    return ConfirmRestore(prompts, osName, L"pointers");
}

int ConfirmRestoreIcons(PromptPort& prompts, const std::wstring& osName) {
    return ConfirmRestore(prompts, osName, L"system icons");
}

int ConfirmRestoreSettings(PromptPort& prompts, const std::wstring& osName) {
    return ConfirmRestore(prompts, osName, L"system settings");
}

int AskSaveChanges(PromptPort& prompts) {
    return Ask(prompts, Make(L"Would you like to save your changes before closing?",
                             {L"&Cancel", L"No", L"Yes"}, PromptIconQuestion));
}

int ShowMissingIcons(PromptPort& prompts) {
    constexpr wchar_t value[] = L"Dialog Missing";
    if (Suppressed(value)) return NotShown;
    return AskSuppressible(
        prompts,
        Make(L"When loading your theme, one or more icons could not be found on your "
             L"system.\n\n"
             L"The icon(s) may have been deleted, moved to a different folder, or renamed.\n\n"
             L"The program will continue, but some icons may not display as they should.",
             {L"OK", L"", L""}, PromptIconInformation, DoNotShowAgain),
        value);
}

int ShowInvalidTheme(PromptPort& prompts, const std::wstring& path) {
    return Ask(prompts, Make(L"The file " + path + L" does not appear to be a valid theme file.",
                             {L"OK", L"", L""}, PromptIconError));
}

int ShowThemeNotSaved(PromptPort& prompts, const std::wstring& path) {
    return Ask(prompts,
               Make(L"The theme could not be saved to " + path + L".", {L"OK", L"", L""}, PromptIconError));
}

int AskOverwriteTheme(PromptPort& prompts, const std::wstring& path) {
    constexpr wchar_t value[] = L"Dialog Overwrite";
    if (Suppressed(value)) return 2;
    return AskSuppressible(
        prompts,
        Make(L"Are you sure you want to overwrite the Icon Theme:\n\n" + path +
                 L"\n\n\nIf you tick the box below, theme files will automatically be overwritten "
                 L"when you click save.",
             {L"&Cancel", L"No", L"Yes"}, PromptIconQuestion, L"Do not ask me this question next time"),
        value);
}

int AskRestart(PromptPort& prompts) {
    return Ask(prompts,
               Make(L"You will need to restart your computer for one or more of these changes to take "
                    L"effect.\n\nWould you like to restart your computer now?",
                    {L"No", L"Yes", L""}, PromptIconQuestion));
}

int ShowRebuildNotice(PromptPort& prompts, const std::wstring& osName) {
    constexpr wchar_t value[] = L"Dialog Rebuild";
    if (Suppressed(value)) return NotShown;
    return AskSuppressible(
        prompts,
        Make(L"Tessaly has notified " + osName +
                 L" of your changes.\n\n"
                 L"Windows 95 and Windows NT contains flaws that can cause these changes to be ignored "
                 L"under certain conditions.\n\n"
                 L"If your changes are not applied you will need to select the \"Rebuild Icon Cache\" "
                 L"option from the File menu.\n\n"
                 L"For more information about this problem, please select the \"Help\" button below.",
             {L"&Help", L"OK", L""}, PromptIconExclamation, DoNotShowAgain, 4600, L"Icon Cache"),
        value);
}

int ShowEmptyIconName(PromptPort& prompts) {
    return Ask(prompts, Make(L"You must provide a name for your system icon.", {L"OK", L"", L""},
                             PromptIconExclamation));
}

int ShowFailedWrites(PromptPort& prompts, const std::vector<std::wstring>& lines) {
    constexpr size_t Shown = 10;
    std::wstring message = L"Some changes could not be saved:\n";
    for (size_t i = 0; i < lines.size() && i < Shown; ++i) message += L"\n" + lines[i];
    if (lines.size() > Shown) message += L"\nand " + std::to_wstring(lines.size() - Shown) + L" more";
    return Ask(prompts, Make(std::move(message), {L"OK", L"", L""}, PromptIconExclamation));
}

int AskUndoLastApply(PromptPort& prompts) {
    return Ask(prompts, Make(L"Put back every value that the last Apply changed?", {L"Cancel", L"OK", L""},
                             PromptIconQuestion));
}

int ShowUndoRecordDamaged(PromptPort& prompts) {
    return Ask(prompts, Make(L"The record of the last Apply is damaged and was not used.", {L"OK", L"", L""},
                             PromptIconExclamation));
}

} // namespace Messages
