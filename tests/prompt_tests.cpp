#include "platform/gdi_guards.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/dialog_script.h"
#include "support/registry_sandbox.h"
#include "support/scripted_ports.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const std::wstring SettingsSubkey = L"Software\\Korvath\\Tessaly\\2.0\\Settings";

// ---- Layout ----

void CheckButtonRow(const PromptLayout& layout, int top) {
    for (const TwipsRect& button : layout.buttons) {
        CHECK(button.top == top);
        CHECK(button.width == 1095);
        CHECK(button.height == 375);
    }
    CHECK(layout.buttons[0].left == layout.windowWidth - 1325);
    CHECK(layout.buttons[1].left == layout.windowWidth - 1325 - 1210);
    CHECK(layout.buttons[2].left == layout.windowWidth - 1325 - 2 * 1210);
}

} // namespace

TEST_CASE("the prompt sizes itself to its message") {
    constexpr int caption = 270;
    SUBCASE("a one-line message gets the minimum label height") {
        const PromptLayout layout = LayOutPrompt(195, 0, false, caption);
        CHECK(layout.label.width == 4200);
        CHECK(layout.label.height == 495);
        CHECK(layout.windowHeight == 495 + 950 + caption);
        CHECK(layout.windowWidth == 5200);
        CheckButtonRow(layout, 845);
        CHECK(layout.buttons[0].left == 3875);
        CHECK(layout.buttons[2].left == 1455);
    }
    SUBCASE("the minimum holds up to 495 and the text height wins above it") {
        CHECK(LayOutPrompt(0, 0, false, caption).label.height == 495);
        CHECK(LayOutPrompt(495, 0, false, caption).label.height == 495);
        CHECK(LayOutPrompt(496, 0, false, caption).label.height == 496);
    }
    SUBCASE("several lines push the buttons and the window down") {
        const PromptLayout layout = LayOutPrompt(1560, 0, false, caption);
        CHECK(layout.label.height == 1560);
        CHECK(layout.windowHeight == 1560 + 950 + caption);
        CheckButtonRow(layout, 1560 + 350);
    }
    SUBCASE("a wider message widens the window and moves the buttons with its right edge") {
        const PromptLayout layout = LayOutPrompt(2340, 4600, false, caption);
        CHECK(layout.label.width == 4600);
        CHECK(layout.windowWidth == 5600);
        CHECK(layout.buttons[0].left == 4275);
        CheckButtonRow(layout, 2340 + 350);
    }
    SUBCASE("a check box moves the buttons 400 down and makes the window 405 taller") {
        const PromptLayout plain = LayOutPrompt(195, 0, false, caption);
        const PromptLayout checked = LayOutPrompt(195, 0, true, caption);
        CHECK(checked.check == TwipsRect{checked.label.left, 495 + 300, 4200, checked.check.height});
        CHECK(checked.check.height > 0);
        CheckButtonRow(checked, 845 + 400);
        CHECK(checked.windowHeight == plain.windowHeight + 405);
        CHECK(checked.windowWidth == plain.windowWidth);
    }
    SUBCASE("the caption bar height adds to the window only") {
        const PromptLayout low = LayOutPrompt(195, 0, false, 270);
        const PromptLayout high = LayOutPrompt(195, 0, false, 345);
        CHECK(high.windowHeight - low.windowHeight == 75);
        CHECK(high.buttons[0].top == low.buttons[0].top);
    }
    SUBCASE("label, icon and buttons do not overlap") {
        const PromptLayout layout = LayOutPrompt(195, 0, true, caption);
        CHECK(layout.iconLeft + 480 <= layout.label.left);
        CHECK(layout.label.top + layout.label.height <= layout.check.top);
        CHECK(layout.check.top + layout.check.height <= layout.buttons[0].top);
        CHECK(layout.buttons[0].left + 1095 <= layout.windowWidth);
    }
}

TEST_CASE("a prompt is centred over its owner in whole twips") {
    SUBCASE("smaller than the owner") {
        const POINT p = CentreOver(RECT{1500, 900, 10500, 9000}, 5200, 1715);
        CHECK(p.x == 1500 + (9000 - 5200) / 2);
        CHECK(p.y == 900 + (8100 - 1715) / 2);
        CHECK(p.y == 900 + 3192);
    }
    SUBCASE("larger than the owner hangs over both sides") {
        const POINT p = CentreOver(RECT{3000, 3000, 4000, 4000}, 5200, 2000);
        CHECK(p.x == 3000 - 2100);
        CHECK(p.y == 3000 - 500);
    }
}

TEST_CASE("help keywords follow the start of the message") {
    CHECK(HelpKeywordFor(L"Tessaly has notified Windows NT of your changes.") == L"Icon Cache");
    CHECK(HelpKeywordFor(L"Hiding Network Neighborhood disables shell support") ==
          L"Hide, Network Neighborhood");
    CHECK(HelpKeywordFor(L"Would you like to save your changes before closing?") == L"");
    CHECK(HelpKeywordFor(L"tessaly has notified Windows 95") == L"");
}

// ---- The message catalogue ----

namespace {

struct Row {
    const char* name;
    std::function<int(PromptPort&)> show;
    std::wstring message;
    std::array<std::wstring, 3> buttons;
    int icon;
    std::wstring check;
    int width;
};

std::vector<Row> CatalogueRows() {
    using namespace Messages;
    return {
        {"next start",
         [](PromptPort& p) { return ShowNextStartNotice(p); },
         L"One or more of these changes you have made will only take effect the next time you start Windows.",
         {L"OK", L"", L""},
         32516,
         L"",
         0},
        {"high colour",
         [](PromptPort& p) { return ShowHighColourNeeded(p); },
         L"Your display is currently configured for 256 colours or less.\n\nTo use high colour icons, your "
         L"display's colour palette must be set to either High Colour or True Colour.\n\nYou can change your "
         L"colour "
         L"palette settings by selecting the \"Settings...\" button below.",
         {L"&Settings...", L"OK", L""},
         32513,
         L"",
         0},
        {"notepad",
         [](PromptPort& p) { return ConfirmNotepadConflict(p); },
         L"Adding Notepad to all files causes conflicts with the Microsoft Office shortcut bar.\n\nAre you "
         L"sure you "
         L"want to change this setting?",
         {L"Cancel", L"OK", L""},
         32514,
         L"",
         0},
        {"hide network",
         [](PromptPort& p) { return ConfirmHideNetwork(p); },
         L"Hiding Network Neighborhood disables shell support for Universal Naming Convention (UNC) "
         L"notation.\n\nAre "
         L"you sure you want to change this setting?",
         {L"&Help", L"Cancel", L"OK"},
         32515,
         L"",
         0},
        {"disable desktop",
         [](PromptPort& p) { return ConfirmDisableDesktop(p); },
         L"Disabling the Desktop causes a conflict with Internet Explorer 4.0 which may make this change "
         L"irreversable.\n\nAre you sure you want to change this setting?",
         {L"Cancel", L"OK", L""},
         32515,
         L"",
         0},
        {"restore pointers",
         [](PromptPort& p) { return ConfirmRestorePointers(p, L"Windows 95"); },
         L"Restoring all your Windows 95 pointers will return them to Microsoft setup defaults.\n\nAre you "
         L"sure you "
         L"want to continue?",
         {L"Cancel", L"OK", L""},
         32514,
         L"",
         0},
        {"restore icons",
         [](PromptPort& p) { return ConfirmRestoreIcons(p, L"Windows NT"); },
         L"Restoring all your Windows NT system icons will return them to Microsoft setup defaults.\n\nAre "
         L"you sure "
         L"you want to continue?",
         {L"Cancel", L"OK", L""},
         32514,
         L"",
         0},
        {"restore settings",
         [](PromptPort& p) { return ConfirmRestoreSettings(p, L"Windows 95"); },
         L"Restoring all your Windows 95 system settings will return them to Microsoft setup "
         L"defaults.\n\nAre you "
         L"sure you want to continue?",
         {L"Cancel", L"OK", L""},
         32514,
         L"",
         0},
        {"save changes",
         [](PromptPort& p) { return AskSaveChanges(p); },
         L"Would you like to save your changes before closing?",
         {L"&Cancel", L"No", L"Yes"},
         32514,
         L"",
         0},
        {"missing icons",
         [](PromptPort& p) { return ShowMissingIcons(p).button; },
         L"When loading your theme, one or more icons could not be found on your system.\n\nThe icon(s) may "
         L"have "
         L"been deleted, moved to a different folder, or renamed.\n\nThe program will continue, but some "
         L"icons may "
         L"not display as they should.",
         {L"OK", L"", L""},
         32516,
         L"Do not show this dialog again",
         0},
        {"invalid theme",
         [](PromptPort& p) { return ShowInvalidTheme(p, L"C:\\Themes\\Sun.motif"); },
         L"The file C:\\Themes\\Sun.motif does not appear to be a valid theme file.",
         {L"OK", L"", L""},
         32513,
         L"",
         0},
        {"overwrite",
         [](PromptPort& p) { return AskOverwriteTheme(p, L"C:\\Themes\\Sun.tstheme"); },
         L"Are you sure you want to overwrite the Icon Theme:\n\nC:\\Themes\\Sun.tstheme\n\n\nIf you tick "
         L"the box "
         L"below, theme files will automatically be overwritten when you click save.",
         {L"&Cancel", L"No", L"Yes"},
         32514,
         L"Do not ask me this question next time",
         0},
        {"restart",
         [](PromptPort& p) { return AskRestart(p); },
         L"You will need to restart your computer for one or more of these changes to take effect.\n\nWould "
         L"you "
         L"like to restart your computer now?",
         {L"No", L"Yes", L""},
         32514,
         L"",
         0},
        {"rebuild",
         [](PromptPort& p) { return ShowRebuildNotice(p, L"Windows NT"); },
         L"Tessaly has notified Windows NT of your changes.\n\nWindows 95 and Windows NT contains flaws that "
         L"can "
         L"cause these changes to be ignored under certain conditions.\n\nIf your changes are not applied "
         L"you will "
         L"need to select the \"Rebuild Icon Cache\" option from the File menu.\n\nFor more information "
         L"about this "
         L"problem, please select the \"Help\" button below.",
         {L"&Help", L"OK", L""},
         32515,
         L"Do not show this dialog again",
         4600},
        {"empty name",
         [](PromptPort& p) { return ShowEmptyIconName(p); },
         L"You must provide a name for your system icon.",
         {L"OK", L"", L""},
         32515,
         L"",
         0},
    };
}

} // namespace

TEST_CASE("every message shows its words, buttons, icon and check box, and returns the button") {
    RegistrySandbox sandbox; // the suppressible prompts read their preference; start from none
    for (const Row& row : CatalogueRows()) {
        CAPTURE(row.name);
        ScriptedPromptPort prompts;
        prompts.Answer(1);
        prompts.Answer(PromptResult::Closed);
        CHECK(row.show(prompts) == 1);
        CHECK(row.show(prompts) == PromptResult::Closed);
        REQUIRE(prompts.shown.size() == 2);
        const Prompt& shown = prompts.shown[0];
        CHECK(shown.message == row.message);
        CHECK(shown.buttons == row.buttons);
        CHECK(shown.icon == row.icon);
        CHECK(shown.checkCaption == row.check);
        CHECK(shown.width == row.width);
    }
}

TEST_CASE("the missing-icons notice hands the tick back to its caller") {
    ScriptedPromptPort prompts;
    prompts.Answer(0, true);
    const PromptResult result = Messages::ShowMissingIcons(prompts);
    CHECK(result.button == 0);
    CHECK(result.ticked);
}

TEST_CASE("the rebuild notice and the overwrite question can be switched off") {
    RegistrySandbox sandbox;
    const RawValue none = RawGetValue(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild");
    REQUIRE_FALSE(none.exists);

    SUBCASE("rebuild notice: absent, 0 or 10 show it") {
        for (int stored : {-1, 0, 10}) {
            CAPTURE(stored);
            if (stored >= 0) RawSetDword(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild", stored);
            ScriptedPromptPort prompts;
            prompts.Answer(1);
            CHECK(Messages::ShowRebuildNotice(prompts, L"Windows 95") == 1);
            CHECK(prompts.shown.size() == 1);
        }
        CHECK(Registry::ReadDword(ProgramSettingsKey, L"Dialog Rebuild") == 10); // left as it was
    }
    SUBCASE("rebuild notice: 1 or any other number keeps it away") {
        for (DWORD stored : {1u, 2u, 0xFFFFFFFFu}) {
            CAPTURE(stored);
            RawSetDword(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild", stored);
            ScriptedPromptPort prompts;
            prompts.Answer(1);
            CHECK(Messages::ShowRebuildNotice(prompts, L"Windows 95") == Messages::NotShown);
            CHECK(prompts.shown.empty());
        }
    }
    SUBCASE("rebuild notice: a tick stores 1 and the next notice stays away") {
        ScriptedPromptPort prompts;
        prompts.Answer(1, true);
        CHECK(Messages::ShowRebuildNotice(prompts, L"Windows NT") == 1);
        const RawValue stored = RawGetValue(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild");
        REQUIRE(stored.exists);
        CHECK(stored.type == REG_DWORD);
        CHECK(Registry::ReadDword(ProgramSettingsKey, L"Dialog Rebuild") == 1);
        CHECK(Messages::ShowRebuildNotice(prompts, L"Windows NT") == Messages::NotShown);
        CHECK(prompts.shown.size() == 1);
    }
    SUBCASE("rebuild notice: no tick stores nothing") {
        ScriptedPromptPort prompts;
        prompts.Answer(1, false);
        Messages::ShowRebuildNotice(prompts, L"Windows NT");
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild").exists);
    }
    SUBCASE("overwrite: a stored 1 answers Yes without asking") {
        RawSetDword(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Overwrite", 1);
        ScriptedPromptPort prompts;
        prompts.Answer(0);
        CHECK(Messages::AskOverwriteTheme(prompts, L"C:\\Themes\\Sun.tstheme") == 2);
        CHECK(prompts.shown.empty());
    }
    SUBCASE("overwrite: 0 and 10 ask") {
        for (DWORD stored : {0u, 10u}) {
            RawSetDword(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Overwrite", stored);
            ScriptedPromptPort prompts;
            prompts.Answer(1);
            CHECK(Messages::AskOverwriteTheme(prompts, L"C:\\Themes\\Sun.tstheme") == 1);
            CHECK(prompts.shown.size() == 1);
        }
    }
    SUBCASE("overwrite: a tick with Cancel still stores 1, and later saves overwrite silently") {
        ScriptedPromptPort prompts;
        prompts.Answer(0, true);
        CHECK(Messages::AskOverwriteTheme(prompts, L"C:\\Themes\\Sun.tstheme") == 0);
        CHECK(Registry::ReadDword(ProgramSettingsKey, L"Dialog Overwrite") == 1);
        CHECK(Messages::AskOverwriteTheme(prompts, L"C:\\Themes\\Moon.tstheme") == 2);
        CHECK(prompts.shown.size() == 1);
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, SettingsSubkey, L"Dialog Rebuild").exists);
    }
}

// ---- The real dialog ----

namespace {

Prompt OneLine(std::array<std::wstring, 3> buttons, std::wstring check = {}) {
    return Prompt{L"One short line.", std::move(buttons), PromptIconInformation, std::move(check), 0};
}

} // namespace

TEST_CASE("the real prompt answers with the button that closed it") {
    RecordingSystemPort system;
    OwnerWindow owner;
    REQUIRE(owner.get());
    RealPromptPort port(system, L"C:\\Tessaly\\Help.hlp", owner.get());

    SUBCASE("closing it without a button gives 4") {
        DialogScript script({[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
        const PromptResult result = port.ShowPrompt(OneLine({L"OK", L"", L""}));
        CHECK(script.Completed());
        CHECK(result.button == PromptResult::Closed);
        CHECK_FALSE(result.ticked);
    }
    SUBCASE("each of three buttons gives its index") {
        for (auto [caption, index] : {std::pair{L"&Cancel", 0}, {L"No", 1}, {L"Yes", 2}}) {
            CAPTURE(index);
            DialogScript script({Click(caption)});
            CHECK(port.ShowPrompt(OneLine({L"&Cancel", L"No", L"Yes"})).button == index);
            CHECK(script.Completed());
        }
    }
    SUBCASE("Esc presses Cancel when there is one, else closes without an answer") {
        {
            DialogScript script({Key(VK_ESCAPE)});
            CHECK(port.ShowPrompt(OneLine({L"&Cancel", L"No", L"Yes"})).button == 0);
            CHECK(script.Completed());
        }
        {
            DialogScript script({Key(VK_ESCAPE)});
            CHECK(port.ShowPrompt(OneLine({L"No", L"Yes", L""})).button == PromptResult::Closed);
            CHECK(script.Completed());
        }
    }
    SUBCASE("Enter presses the first button that answers, not Help") {
        DialogScript script({Key(VK_RETURN)});
        CHECK(Messages::ShowRebuildNotice(port, L"Windows 95") == 1);
        CHECK(script.Completed());
        CHECK(system.help.empty());
    }
    SUBCASE("the tick comes back with the closing button") {
        DialogScript script({Click(L"&Do not show this dialog again"), Click(L"OK")});
        const PromptResult result =
            port.ShowPrompt(OneLine({L"OK", L"", L""}, L"Do not show this dialog again"));
        CHECK(script.Completed());
        CHECK(result.button == 0);
        CHECK(result.ticked);
    }
}

TEST_CASE("Help and Settings act and leave the real prompt open") {
    RegistrySandbox sandbox;
    RecordingSystemPort system;
    OwnerWindow owner;
    RealPromptPort port(system, L"C:\\Tessaly\\Help.hlp", owner.get());

    SUBCASE("hiding the network: Help opens its keyword, then Cancel returns 1") {
        DialogScript script({Click(L"&Help"), Click(L"Cancel")});
        CHECK(Messages::ConfirmHideNetwork(port) == 1);
        CHECK(script.Completed());
        REQUIRE(system.help.size() == 1);
        CHECK(system.help[0].helpFile == L"C:\\Tessaly\\Help.hlp");
        CHECK(system.help[0].command == 0x105);
        CHECK(system.help[0].keyword == L"Hide, Network Neighborhood");
    }
    SUBCASE("the rebuild notice: Help twice, then the close box, gives 4 and stores the tick") {
        DialogScript script({Click(L"&Help"), Click(L"&Do not show this dialog again"), Click(L"&Help"),
                             [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
        CHECK(Messages::ShowRebuildNotice(port, L"Windows NT") == PromptResult::Closed);
        CHECK(script.Completed());
        REQUIRE(system.help.size() == 2);
        CHECK(system.help[1].keyword == L"Icon Cache");
        CHECK(system.help[1].command == 0x105);
        CHECK(Registry::ReadDword(ProgramSettingsKey, L"Dialog Rebuild") == 1);
    }
    SUBCASE("high colour: Settings starts the display settings minimised, then OK returns 1") {
        DialogScript script({Click(L"&Settings..."), Click(L"OK")});
        CHECK(Messages::ShowHighColourNeeded(port) == 1);
        CHECK(script.Completed());
        REQUIRE(system.programs.size() == 1);
        CHECK(system.programs[0].commandLine == L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3");
        CHECK(system.programs[0].showCommand == 2);
        CHECK(system.help.empty());
    }
    SUBCASE("a Help button on a message without a keyword does nothing") {
        DialogScript script({Click(L"&Help"), Click(L"OK")});
        CHECK(port.ShowPrompt(OneLine({L"OK", L"&Help", L""})).button == 0);
        CHECK(script.Completed());
        CHECK(system.help.empty());
    }
}

TEST_CASE("the real prompt is laid out and captioned as the user sees it") {
    RecordingSystemPort system;
    OwnerWindow owner;
    RealPromptPort port(system, L"Help.hlp", owner.get());
    const ScreenTwips scale = ScreenTwips::Current();
    const int captionTwips = GetSystemMetrics(SM_CYCAPTION) * scale.y;

    SUBCASE("one line, one button, centred over the owner") {
        DialogScript script(
            {[&](HWND dialog) {
                 CHECK(TextOf(dialog) == L"Tessaly");
                 CHECK(TextOf(GetDlgItem(dialog, frmPrompt::IdMsg)) == L"One short line.");
                 const PromptLayout layout = LayOutPrompt(0, 0, false, captionTwips);
                 RECT window;
                 GetWindowRect(dialog, &window);
                 CHECK(window.right - window.left == scale.ToPixelsX(layout.windowWidth));
                 CHECK(window.bottom - window.top == scale.ToPixelsY(layout.windowHeight));
                 RECT ownerRect;
                 GetWindowRect(owner.get(), &ownerRect);
                 CHECK(std::abs((window.left + window.right) - (ownerRect.left + ownerRect.right)) <= 2);
                 CHECK(std::abs((window.top + window.bottom) - (ownerRect.top + ownerRect.bottom)) <= 2);

                 HWND ok = GetDlgItem(dialog, frmPrompt::IdCommand);
                 CHECK(TextOf(ok) == L"OK");
                 CHECK(IsWindowVisible(ok));
                 const RECT r = ClientRectOf(dialog, frmPrompt::IdCommand);
                 CHECK(r.left == scale.ToPixelsX(5200 - 1325));
                 CHECK(r.top == scale.ToPixelsY(845));
                 CHECK(r.right - r.left == scale.ToPixelsX(1095));
                 CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCommand + 1)));
                 CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCommand + 2)));
                 CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCheck)));
             },
             Click(L"OK")});
        CHECK(port.ShowPrompt(OneLine({L"OK", L"", L""})).button == 0);
        CHECK(script.Completed());
    }
    SUBCASE("three buttons read Yes, No, Cancel from left to right") {
        DialogScript script({[&](HWND dialog) {
                                 const RECT cancel = ClientRectOf(dialog, frmPrompt::IdCommand);
                                 const RECT no = ClientRectOf(dialog, frmPrompt::IdCommand + 1);
                                 const RECT yes = ClientRectOf(dialog, frmPrompt::IdCommand + 2);
                                 CHECK(TextOf(GetDlgItem(dialog, frmPrompt::IdCommand)) == L"&Cancel");
                                 CHECK(TextOf(GetDlgItem(dialog, frmPrompt::IdCommand + 1)) == L"No");
                                 CHECK(TextOf(GetDlgItem(dialog, frmPrompt::IdCommand + 2)) == L"Yes");
                                 CHECK(yes.right < no.left);
                                 CHECK(no.right < cancel.left);
                                 CHECK(yes.top == cancel.top);
                             },
                             Click(L"Yes")});
        CHECK(Messages::AskSaveChanges(port) == 2);
        CHECK(script.Completed());
    }
    SUBCASE("a check box sits under the message and pushes the buttons down") {
        DialogScript script({[&](HWND dialog) {
                                 HWND check = GetDlgItem(dialog, frmPrompt::IdCheck);
                                 CHECK(IsWindowVisible(check));
                                 CHECK(TextOf(check) == L"&Do not show this dialog again");
                                 const PromptLayout layout = LayOutPrompt(0, 0, true, captionTwips);
                                 RECT window;
                                 GetWindowRect(dialog, &window);
                                 CHECK(window.bottom - window.top == scale.ToPixelsY(layout.windowHeight));
                                 CHECK(ClientRectOf(dialog, frmPrompt::IdCommand).top ==
                                       scale.ToPixelsY(1245));
                                 CHECK(ClientRectOf(dialog, frmPrompt::IdCheck).top == scale.ToPixelsY(795));
                             },
                             Click(L"OK")});
        port.ShowPrompt(OneLine({L"OK", L"", L""}, L"Do not show this dialog again"));
        CHECK(script.Completed());
    }
    SUBCASE("a long message grows the label to show all of its text") {
        DialogScript script(
            {[&](HWND dialog) {
                 HWND label = GetDlgItem(dialog, frmPrompt::IdMsg);
                 RECT labelRect;
                 GetClientRect(label, &labelRect);
                 CHECK(labelRect.right == scale.ToPixelsX(4600));
                 // Measured again with the label's own font, the text must fit the label.
                 WindowDc dc(label);
                 SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
                 RECT need{0, 0, labelRect.right, 0};
                 const std::wstring text = TextOf(label);
                 DrawTextW(dc.get(), text.c_str(), -1, &need,
                           DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
                 CHECK(need.bottom > scale.ToPixelsY(495));
                 CHECK(labelRect.bottom >= need.bottom);
                 CHECK(ClientRectOf(dialog, frmPrompt::IdCommand).top >=
                       ClientRectOf(dialog, frmPrompt::IdMsg).bottom);
             },
             Click(L"OK")});
        Messages::ShowRebuildNotice(port, L"Windows 95");
        CHECK(script.Completed());
    }
    SUBCASE("the standard icon is drawn") {
        DialogScript script({[&](HWND dialog) {
                                 HWND picture = GetDlgItem(dialog, frmPrompt::IdIcon);
                                 RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                                 WindowDc dc(picture);
                                 const COLORREF face = GetSysColor(COLOR_BTNFACE);
                                 int painted = 0;
                                 for (int y = 0; y < 32; ++y)
                                     for (int x = 0; x < 32; ++x) painted += GetPixel(dc.get(), x, y) != face;
                                 CHECK(painted > 100);
                             },
                             Click(L"OK")});
        port.ShowPrompt(OneLine({L"OK", L"", L""}));
        CHECK(script.Completed());
    }
}

// ---- The dialog base ----

namespace {

class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(bool failAtStart) {
        On(WM_INITDIALOG, [this, failAtStart](WPARAM, LPARAM) -> INT_PTR {
            if (failAtStart) throw std::runtime_error("cannot start");
            started = hwnd() != nullptr;
            return TRUE;
        });
        OnCommand(100, [this] {
            if (++presses == 1) throw std::runtime_error("first press fails");
            EndModal(7);
        });
    }
    INT_PTR Run() {
        DialogTemplate layout(L"Probe", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
        layout.AddControl(L"BUTTON", L"Press", 100, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 10, 10, 60,
                          14);
        layout.AddControl(L"STATIC", L"Label", 101, SS_LEFT | WS_VISIBLE, 0, 10, 30, 60, 10);
        return RunModal(layout, nullptr);
    }
    bool started = false;
    int presses = 0;
};

} // namespace

TEST_CASE("a dialog's exceptions stop at its procedure") {
    SUBCASE("a handler that throws leaves the dialog working") {
        ProbeDialog dialog(false);
        DialogScript script({[](HWND d) {
                                 CHECK(TextOf(d) == L"Probe");
                                 CHECK(TextOf(GetDlgItem(d, 101)) == L"Label");
                             },
                             Click(L"Press"), Click(L"Press")});
        CHECK(dialog.Run() == 7);
        CHECK(script.Completed());
        CHECK(dialog.started);
        CHECK(dialog.presses == 2);
        CHECK(dialog.hwnd() == nullptr);
    }
    SUBCASE("a dialog that fails to start closes with -1") {
        ProbeDialog dialog(true);
        DialogScript script({}); // ends it should it ever show
        CHECK(dialog.Run() == -1);
        CHECK(script.Completed());
        CHECK_FALSE(dialog.started);
    }
}
