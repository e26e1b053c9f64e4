// What the program says to the user: every prompt's words and buttons, the real prompt window, and the help
// (the program's topics, the help window, What's This); last, windows whose handlers throw.
#include "help/help_book.h"
#include "platform/gdi_guards.h"
#include "platform/text.h"
#include "prompts/messages.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "settings/settings_catalogue.h"
#include "support/dialog_script.h"
#include "support/leak_check.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/whats_this.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Buttons = std::array<std::wstring, 3>;

Prompt OneLine(Buttons buttons, std::wstring check = {}) {
    return Prompt{L"One short line.", std::move(buttons), PromptIconInformation, std::move(check), 0, {}};
}

// Its start throws when asked to; its button throws at the first press and ends the dialog at the second.
class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(bool failAtStart) {
        On(WM_INITDIALOG, [failAtStart](WPARAM, LPARAM) -> INT_PTR {
            if (failAtStart) throw std::runtime_error("cannot start");
            return TRUE;
        });
        OnCommand(100, [this] {
            if (++presses == 1) throw std::runtime_error("first press fails");
            EndModal(7);
        });
    }
    INT_PTR Run() {
        DialogTemplate layout(L"Probe", WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_VISIBLE);
        layout.AddControl(L"BUTTON", L"Press", 100, BS_PUSHBUTTON | WS_VISIBLE, 0, 10, 10, 60, 14);
        return RunModal(layout, nullptr);
    }
    int presses = 0;
};

// Its handlers throw, its last message's included.
class ProbeWindow : public Window {
public:
    ProbeWindow() {
        RegisterWindowClass(L"TessalyProbe");
        On(WM_USER, [](WPARAM, LPARAM) -> LRESULT { throw std::runtime_error("handler fails"); });
        On(WM_NCDESTROY, [](WPARAM, LPARAM) -> LRESULT { throw std::runtime_error("clean-up fails"); });
        CreateWindowFor(L"TessalyProbe", L"Probe", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr);
    }
    void OnDestroyed() override { ++destroyed; }
    int destroyed = 0;
};

bool HasKeyword(const HelpPage& topic, std::wstring_view keyword) {
    return std::ranges::find(topic.keywords, keyword) != topic.keywords.end() || topic.title == keyword;
}

// The main window on a sandboxed machine, its help calls going to the real help window as in the program.
struct HelpFixture : SessionFixture {
    RealSystemPort realSystem;
    std::unique_ptr<MainWindow> main;

    HelpFixture() {
        Load({.nt = true, .plus = true});
        realSystem.helpViewer = &OpenHelpWindow;
        main = std::make_unique<MainWindow>(*session, realSystem, prompts);
        REQUIRE(main->Create());
        ShowWindow(main->hwnd(), SW_SHOW);
        Pump();
    }
    ~HelpFixture() {
        HelpWindow::Instance().Close();
        main.reset();
        Pump();
    }
    void Command(int id) {
        SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    // A click on a control in help-select mode, as the user makes it: the click waits in the queue and the
    // mode's own loop takes it.
    void WhatsThisClick(HWND control) {
        RECT r;
        GetClientRect(control, &r);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom / 2));
        Command(IdMenuWhatsThis);
    }
    static std::wstring PopupText() { return HelpPopupWindow() ? TextOf(HelpPopupWindow()) : L""; }
};

HWND HelpHwnd() {
    return HelpWindow::Instance().hwnd();
}

} // namespace

TEST_CASE("the prompt sizes itself to its message and centres over its owner") {
    struct Row {
        int textHeight, width;
        bool check;
        int labelHeight, windowWidth, windowHeight, buttonTop; // the window height without the caption bar
    };
    const Row rows[] = {
        {195, 0, false, 495, 5200, 1445, 845},       // one line: the minimum label height
        {495, 0, false, 495, 5200, 1445, 845},       // the minimum holds up to 495
        {496, 0, false, 496, 5200, 1446, 846},       // and the text height wins above it
        {1560, 0, false, 1560, 5200, 2510, 1910},    // several lines push the buttons and the window down
        {2340, 4600, false, 2340, 5600, 3290, 2690}, // a wider message widens the window
        {195, 0, true, 495, 5200, 1850, 1245},       // a check box: buttons 400 lower, window 405 taller
    };
    for (const Row& row : rows) {
        INFO("row.textHeight := ", row.textHeight, ", row.check := ", row.check);
        const PromptLayout layout = LayOutPrompt(row.textHeight, row.width, row.check, 270);
        CHECK(layout.label.height == row.labelHeight);
        CHECK(layout.label.width == row.windowWidth - 1000);
        CHECK(layout.windowWidth == row.windowWidth);
        CHECK(layout.windowHeight == row.windowHeight + 270);
        for (int i = 0; i < 3; ++i) { // right to left, the first at the window width - 1325
            CHECK(layout.buttons[i] ==
                  TwipsRect{row.windowWidth - 1325 - i * 1210, row.buttonTop, 1095, 375});
        }
        if (row.check) CHECK(layout.check == TwipsRect{layout.label.left, 795, 4200, layout.check.height});
    }
    CHECK(LayOutPrompt(195, 0, false, 345).windowHeight == 1445 + 345);
    CHECK(CentreOver(RECT{1500, 900, 10500, 9000}, 5200, 1715).y == 900 + 3192); // centred in whole twips
}

TEST_CASE("every message shows its words, buttons, icon and check box, and returns the button") {
    using namespace Messages;
    using Row = std::tuple<std::function<int(PromptPort&)>, Buttons, int, std::wstring, int, std::wstring>;
    const std::wstring noMore = L"Do not show this dialog again";
    const Row rows[] = {
        Row(ShowNextStartNotice, {L"OK"}, 32516, L"", 0,
            L"One or more of these changes you have made will only take effect the next time you start "
            L"Windows."),
        Row(ShowHighColourNeeded, {L"&Settings...", L"OK"}, 32513, L"", 0,
            L"Your display is currently configured for 256 colours or less.\n\nTo use high colour icons, "
            L"your display's colour palette must be set to either High Colour or True Colour.\n\nYou can "
            L"change your colour palette settings by selecting the \"Settings...\" button below."),
        Row(ConfirmNotepadConflict, {L"Cancel", L"OK"}, 32514, L"", 0,
            L"Adding Notepad to all files causes conflicts with the Microsoft Office shortcut bar.\n\nAre "
            L"you sure you want to change this setting?"),
        Row(ConfirmHideNetwork, {L"&Help", L"Cancel", L"OK"}, 32515, L"", 0,
            L"Hiding Network Neighborhood disables shell support for Universal Naming Convention (UNC) "
            L"notation.\n\nAre you sure you want to change this setting?"),
        Row(ConfirmDisableDesktop, {L"Cancel", L"OK"}, 32515, L"", 0,
            L"Disabling the Desktop causes a conflict with Internet Explorer 4.0 which may make this "
            L"change irreversable.\n\nAre you sure you want to change this setting?"),
        Row([](PromptPort& p) { return ConfirmRestorePointers(p, L"Windows 95"); }, {L"Cancel", L"OK"}, 32514,
            L"", 0,
            L"Restoring all your Windows 95 pointers will return them to Microsoft setup defaults.\n\nAre "
            L"you sure you want to continue?"),
        Row([](PromptPort& p) { return ConfirmRestoreIcons(p, L"Windows NT"); }, {L"Cancel", L"OK"}, 32514,
            L"", 0,
            L"Restoring all your Windows NT system icons will return them to Microsoft setup "
            L"defaults.\n\nAre you sure you want to continue?"),
        Row([](PromptPort& p) { return ConfirmRestoreSettings(p, L"Windows 95"); }, {L"Cancel", L"OK"}, 32514,
            L"", 0,
            L"Restoring all your Windows 95 system settings will return them to Microsoft setup "
            L"defaults.\n\nAre you sure you want to continue?"),
        Row(AskSaveChanges, {L"&Cancel", L"No", L"Yes"}, 32514, L"", 0,
            L"Would you like to save your changes before closing?"),
        Row(ShowMissingIcons, {L"OK"}, 32516, noMore, 0,
            L"When loading your theme, one or more icons could not be found on your system.\n\nThe "
            L"icon(s) may have been deleted, moved to a different folder, or renamed.\n\nThe program will "
            L"continue, but some icons may not display as they should."),
        Row([](PromptPort& p) { return ShowInvalidTheme(p, L"C:\\Themes\\Sun.motif"); }, {L"OK"}, 32513, L"",
            0, L"The file C:\\Themes\\Sun.motif does not appear to be a valid theme file."),
        Row([](PromptPort& p) { return ShowThemeNotSaved(p, L"C:\\Themes\\Sun.tstheme"); }, {L"OK"}, 32513,
            L"", 0, L"The theme could not be saved to C:\\Themes\\Sun.tstheme."),
        Row([](PromptPort& p) { return AskOverwriteTheme(p, L"C:\\Themes\\Sun.tstheme"); },
            {L"&Cancel", L"No", L"Yes"}, 32514, L"Do not ask me this question next time", 0,
            L"Are you sure you want to overwrite the Icon Theme:\n\nC:\\Themes\\Sun.tstheme\n\n\nIf you "
            L"tick the box below, theme files will automatically be overwritten when you click save."),
        Row(AskRestart, {L"No", L"Yes"}, 32514, L"", 0,
            L"You will need to restart your computer for one or more of these changes to take "
            L"effect.\n\nWould you like to restart your computer now?"),
        Row([](PromptPort& p) { return ShowRebuildNotice(p, L"Windows NT"); }, {L"&Help", L"OK"}, 32515,
            noMore, 4600,
            L"Tessaly has notified Windows NT of your changes.\n\nWindows 95 and Windows NT contains "
            L"flaws that can cause these changes to be ignored under certain conditions.\n\nIf your "
            L"changes are not applied you will need to select the \"Rebuild Icon Cache\" option from the "
            L"File menu.\n\nFor more information about this problem, please select the \"Help\" button "
            L"below."),
        Row(ShowEmptyIconName, {L"OK"}, 32515, L"", 0, L"You must provide a name for your system icon."),

    };
    RegistrySandbox sandbox; // no stored preference: the suppressible prompts show
    for (const auto& [show, buttons, icon, check, width, message] : rows) {
        CAPTURE(message);
        ScriptedPromptPort prompts;
        prompts.Answer(1);
        CHECK(show(prompts) == 1);
        CHECK(show(prompts) == PromptResult::Closed);
        REQUIRE(prompts.shown.size() == 2);
        const Prompt& shown = prompts.shown[0];
        CHECK(std::tie(shown.message, shown.buttons, shown.icon, shown.checkCaption, shown.width) ==
              std::tie(message, buttons, icon, check, width));
    }
}

TEST_CASE("the rebuild notice, the missing-icons notice and the overwrite question can be switched off") {
    RegistrySandbox sandbox;
    auto rebuild = [](PromptPort& p) {
        // The missing-icons notice shares the rebuild notice's rules and answers.
        const int missing = Messages::ShowMissingIcons(p);
        CHECK(missing == Messages::ShowRebuildNotice(p, L"Windows 95"));
        return missing;
    };
    auto overwrite = [](PromptPort& p) { return Messages::AskOverwriteTheme(p, L"C:\\Themes\\Sun.tstheme"); };
    SUBCASE("0 and 10 show the overwrite question, 1 and any other number do not") {
        const std::pair<DWORD, bool> stored[] = {
            {0, true}, {10, true}, {1, false}, {2, false}, {0xFFFFFFFF, false}};
        for (auto [value, shows] : stored) {
            CAPTURE(value);
            for (const wchar_t* name : {L"Dialog Rebuild", L"Dialog Missing", L"Dialog Overwrite"})
                RawSetDword(HKEY_CURRENT_USER, ProgramSubkey, name, value);
            ScriptedPromptPort prompts;
            for (int i = 0; i < 3; ++i) prompts.Answer(1);
            CHECK(rebuild(prompts) == (shows ? 1 : Messages::NotShown));
            CHECK(overwrite(prompts) == (shows ? 1 : 2)); // switched off, the theme is overwritten
            CHECK(prompts.shown.size() == (shows ? 3u : 0u));
        }
    }
    SUBCASE("a tick stores 1 whichever button closed the prompt; no tick stores nothing") {
        ScriptedPromptPort prompts;
        prompts.Answer(1, false);
        prompts.Answer(1, false);
        CHECK(rebuild(prompts) == 1);
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, ProgramSubkey, L"Dialog Rebuild").exists);
        CHECK_FALSE(RawGetValue(HKEY_CURRENT_USER, ProgramSubkey, L"Dialog Missing").exists);
        prompts.Answer(1, true);
        prompts.Answer(1, true);
        prompts.Answer(0, true);
        CHECK(rebuild(prompts) == 1);
        CHECK(overwrite(prompts) == 0);
        for (const wchar_t* name : {L"Dialog Rebuild", L"Dialog Missing", L"Dialog Overwrite"}) {
            CHECK(RawGetValue(HKEY_CURRENT_USER, ProgramSubkey, name).type == REG_DWORD);
            CHECK(Registry::ReadDword(ProgramSettingsKey, name) == 1);
        }
        CHECK(rebuild(prompts) == Messages::NotShown);
        CHECK(overwrite(prompts) == 2);
        CHECK(prompts.shown.size() == 5);
    }
}

TEST_CASE("the real prompt answers with the last button pressed; Help and Settings keep it open") {
    RegistrySandbox sandbox;
    RecordingSystemPort system;
    OwnerWindow owner;
    RealPromptPort port(system, L"C:\\Tessaly\\Help.hlp", owner.get());
    auto oneLine = [&port](Buttons buttons) {
        return [&port, buttons] { return port.ShowPrompt(OneLine(buttons)).button; };
    };
    auto closeBox = [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); };
    auto twoButtonsShown = [](HWND dialog) { // an empty caption hides its button or check box
        CHECK(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCommand + 1)));
        CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCommand + 2)));
        CHECK_FALSE(IsWindowVisible(GetDlgItem(dialog, frmPrompt::IdCheck)));
    };
    const struct {
        std::vector<DialogScript::Step> steps;
        std::function<int()> show;
        int answer;
    } rows[] = {
        {{Key(VK_ESCAPE)}, oneLine({L"&Cancel", L"No", L"Yes"}), 0},
        {{Key(VK_ESCAPE)}, oneLine({L"No", L"Yes", L""}), PromptResult::Closed},
        // No keyword: Help does nothing.
        {{twoButtonsShown, Click(L"&Help"), Click(L"OK")}, oneLine({L"OK", L"&Help", L""}), 0},
        {{Key(VK_RETURN)}, [&] { return Messages::ShowRebuildNotice(port, L"Windows 95"); }, 1}, // not Help
        {{Click(L"&Help"), Click(L"Cancel")}, [&] { return Messages::ConfirmHideNetwork(port); }, 1},
        {{Click(L"&Settings..."), Click(L"OK")}, [&] { return Messages::ShowHighColourNeeded(port); }, 1},
        // The close box answers with the button pressed last, and the box as it stands.
        {{Click(L"&Help"), Click(L"&Do not show this dialog again"), Click(L"&Help"), closeBox},
         [&] { return Messages::ShowRebuildNotice(port, L"Windows NT"); },
         0},
        {{Click(L"&Settings..."), closeBox}, [&] { return Messages::ShowHighColourNeeded(port); }, 0},
        {{closeBox}, oneLine({L"OK", L"&Help", L""}), PromptResult::Closed},
    };
    MessageFont(); // made once and kept for the process
    const HandleCounts handles = LiveHandleCounts();
    for (size_t i = 0; i < std::size(rows); ++i) {
        CAPTURE(i);
        DialogScript script(rows[i].steps);
        CHECK(rows[i].show() == rows[i].answer);
        CHECK(script.Completed());
    }
    CHECK(LiveHandleCounts() == handles);
    const std::wstring help = L"HELP C:\\Tessaly\\Help.hlp 261 ",
                       settings = L"RUN rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3 2"; // minimised
    CHECK(system.calls == Strings{help + L"Hide, Network Neighborhood", settings, help + L"Icon Cache",
                                  help + L"Icon Cache", settings});
    CHECK(Registry::ReadDword(ProgramSettingsKey, L"Dialog Rebuild") == 1); // the tick outlives the close box
}

TEST_CASE_FIXTURE(RegistrySandbox, "the real prompt is laid out and captioned as the user sees it") {
    RecordingSystemPort system;
    OwnerWindow owner;
    RealPromptPort port(system, L"Help.hlp", owner.get());
    const ScreenTwips scale = ScreenTwips::Current();
    const int captionTwips = GetSystemMetrics(SM_CYCAPTION) * scale.y;
    // Shows the prompt, looks at it, then presses `press`; gives the answer.
    auto show = [&](const Prompt& prompt, const wchar_t* press, DialogScript::Step look) {
        DialogScript script({std::move(look), Click(press)});
        const int answer = port.ShowPrompt(prompt).button;
        CHECK(script.Completed());
        return answer;
    };
    auto item = [](HWND dialog, int id) { return GetDlgItem(dialog, id); };

    SUBCASE("caption, message, icon; a check box pushes Yes, No, Cancel down; centred over the owner") {
        const Prompt prompt = OneLine({L"&Cancel", L"No", L"Yes"}, L"Do not show this dialog again");
        CHECK(show(prompt, L"Yes", [&](HWND dialog) {
                  CHECK(TextOf(dialog) == L"Tessaly");
                  CHECK(TextOf(item(dialog, frmPrompt::IdMsg)) == L"One short line.");
                  // The check box's caption and that it shows: the answers above click it by its caption.
                  RECT window, under;
                  GetWindowRect(dialog, &window);
                  GetWindowRect(owner.get(), &under);
                  CHECK(window.right - window.left == scale.ToPixelsX(5200));
                  CHECK(window.bottom - window.top == scale.ToPixelsY(1850 + captionTwips));
                  CHECK(std::abs((window.left + window.right) - (under.left + under.right)) <= 2);
                  CHECK(std::abs((window.top + window.bottom) - (under.top + under.bottom)) <= 2);
                  CHECK(ClientRectOf(dialog, frmPrompt::IdCheck).top == scale.ToPixelsY(795));
                  const wchar_t* captions[] = {L"&Cancel", L"No", L"Yes"};
                  for (int i = 0; i < 3; ++i)
                      CHECK(TextOf(item(dialog, frmPrompt::IdCommand + i)) == captions[i]);
                  const RECT last = ClientRectOf(dialog, frmPrompt::IdCommand + 2); // the left-most
                  CHECK(last.left == scale.ToPixelsX(5200 - 1325 - 2 * 1210));
                  CHECK(last.top == scale.ToPixelsY(1245));
                  HWND picture = item(dialog, frmPrompt::IdIcon);
                  RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                  WindowDc dc(picture);
                  int painted = 0;
                  for (int y = 0; y < 32; ++y)
                      for (int x = 0; x < 32; ++x)
                          painted += GetPixel(dc.get(), x, y) != GetSysColor(COLOR_BTNFACE);
                  CHECK(painted > 100);
              }) == 2);
    }
    SUBCASE("a long message grows the label to show all its text, measured in the label's own font") {
        ScriptedPromptPort rebuild;
        Messages::ShowRebuildNotice(rebuild, L"Windows 95");
        REQUIRE(rebuild.shown.size() == 1);
        show(rebuild.shown[0], L"OK", [&](HWND dialog) {
            HWND label = item(dialog, frmPrompt::IdMsg);
            RECT shown;
            GetClientRect(label, &shown);
            CHECK(shown.right == scale.ToPixelsX(4600));
            WindowDc dc(label);
            SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            RECT need{0, 0, shown.right, 0};
            DrawTextW(dc.get(), TextOf(label).c_str(), -1, &need,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
            CHECK(need.bottom > scale.ToPixelsY(495));
            CHECK(shown.bottom >= need.bottom);
        });
    }
}

TEST_CASE("every topic the program names has words, and the contents lead to every topic") {
    const HelpBook& book = HelpBook::Program();
    for (const std::wstring& problem : book.Problems()) FAIL_CHECK(text::Narrow(problem));

    auto hasWords = [&](int number) {
        CAPTURE(number);
        const HelpPage* topic = book.ByNumber(number);
        REQUIRE(topic != nullptr);
        CHECK(topic->PlainText().size() > 40);
        return topic;
    };
    // Each setting's own key is a keyword of its topic, so a row pointing at a wrong topic shows.
    for (const SettingRow& row : SettingRows()) {
        if (row.HelpTopic == 0) continue;
        CAPTURE(text::Narrow(row.Key));
        CHECK(HasKeyword(*hasWords(row.HelpTopic), row.Key));
    }
    for (int number : {HelpTopics::Contents, HelpTopics::SettingsTree, HelpTopics::OkButton,
                       HelpTopics::CancelButton, HelpTopics::ApplyButton, HelpTopics::HelpButton,
                       HelpTopics::ChangeButton, HelpTopics::DefaultIconButton, HelpTopics::RenameButton,
                       HelpTopics::InformationBar, HelpTopics::MenusAndToolbar})
        hasWords(number);
    for (int tab = 1; tab <= 8; ++tab) {
        const std::wstring caption(TabCaptions[static_cast<size_t>(tab - 1)]);
        CHECK(hasWords(HelpTopics::Tab(tab))->title == caption + L" tab");
    }

    // The prompts with a "&Help" button (prompt_tests checks which have one and that Help asks for the
    // keyword) name a topic's keyword.
    ScriptedPromptPort prompts;
    Messages::ConfirmHideNetwork(prompts);
    Messages::ShowRebuildNotice(prompts, L"Windows NT");
    for (const Prompt& prompt : prompts.shown) {
        CAPTURE(text::Narrow(prompt.helpKeyword));
        REQUIRE(book.ByKeyword(prompt.helpKeyword) != nullptr);
        CHECK(HasKeyword(*hasWords(book.ByKeyword(prompt.helpKeyword)->number), prompt.helpKeyword));
    }

    const Strings contents = book.ByNumber(HelpTopics::Contents)->Links();
    for (const HelpPage& topic : book.Topics()) {
        if (topic.number == HelpTopics::Contents) continue;
        CAPTURE(text::Narrow(topic.title));
        CHECK(std::ranges::any_of(contents, [&](const std::wstring& link) {
            const HelpPage* target = book.ByTitle(link) ? book.ByTitle(link) : book.ByKeyword(link);
            return target == &topic;
        }));
    }
}

TEST_CASE("keywords match in part, letter case not counting; the search narrows the index") {
    static constexpr std::string_view lines[] = {
        "# a comment",
        "@topic 5 Large Icons",
        "@keywords Icons, large; Shell Icon Size",
        "Bigger icons. See [[the cache|Icon Cache]]",
        "and [[Wallpaper]].",
        "",
        "- first item",
        "- second",
        "@topic 7 The icon cache",
        "@keywords Icon Cache; rebuilding",
        "Words.",
        "@topic 9 Wallpaper",
        "@keywords desktop icon spacing",
        "Plain. [[Nowhere]]",
        "@topic 7 Again",
        "@topic x Broken",
    };
    const HelpBook book(lines);
    const struct {
        const wchar_t* key;
        int topic; // 0: none
    } keys[] = {
        {L"Icon Cache", 7}, {L"icon cache", 7},
        {L"ICON", 7}, // beginning with the key comes before holding it ("desktop icon spacing")
        {L"Icons", 5},      {L"shell icon", 5},
        {L"  rebuild ", 7},                // spaces around do not count
        {L"size", 5},       {L"paper", 9}, // holding the key, when nothing begins with it
        {L"", 0},           {L"   ", 0},
        {L"zebra", 0},
    };
    for (const auto& row : keys) {
        CAPTURE(text::Narrow(row.key));
        const HelpPage* topic = book.ByKeyword(row.key);
        CHECK((topic ? topic->number : 0) == row.topic);
    }

    auto texts = [](const std::vector<HelpIndexEntry>& entries) {
        std::wstring joined;
        for (const auto& e : entries) joined += e.text + L"|";
        return joined;
    };
    CHECK(texts(book.Search(L"ICON")) ==
          L"desktop icon spacing|Icon Cache|Icons, large|Large Icons|Shell Icon Size|The icon cache|");
    CHECK(book.Search(L"").size() == book.Index().size());
    CHECK(book.Search(L"nothing like it").empty());

    const HelpPage& large = *book.ByNumber(5);
    CHECK(large.PlainText() ==
          L"Bigger icons. See the cache and Wallpaper.\n\n\u2022 first item\n\u2022 second");
    CHECK(large.Links() == Strings{L"Icon Cache", L"Wallpaper"});
    CHECK(book.Problems() ==
          Strings{L"topic 7 twice", L"bad topic line: @topic x Broken", L"topic 9 links to missing Nowhere"});
}

TEST_CASE(
    "help opens on the contents from the menu, the Help button and F1, in one window brought to the front") {
    HelpFixture f;
    HWND helpButton = GetDlgItem(f.main->hwnd(), IdCmdHelp);
    REQUIRE(helpButton != nullptr);
    CHECK(TextOf(helpButton) == L"&Help");
    HWND first = nullptr;
    const std::function<void()> ways[] = {
        [&] { f.Command(IdMenuHelpContents); },
        [&] { SendMessageW(helpButton, BM_CLICK, 0, 0); },
        [&] { // F1 on a control: the system posts WM_KEYF1, which becomes WM_HELP up to the window
            constexpr UINT WmKeyF1 = 0x004D;
            PostMessageW(GetDlgItem(f.main->hwnd(), IdCmdOk), WmKeyF1, 0, 0);
        },
    };
    for (size_t i = 0; i < std::size(ways); ++i) {
        CAPTURE(i);
        if (HelpHwnd()) HelpWindow::Instance().ShowTopic(36); // somewhere else, behind the main window
        SetForegroundWindow(f.main->hwnd());
        ways[i]();
        Pump();
        REQUIRE(HelpHwnd() != nullptr);
        if (!first) first = HelpHwnd();
        CHECK(HelpHwnd() == first); // the same window, not a second one
        CHECK(IsWindowVisible(HelpHwnd()));
        CHECK(GetForegroundWindow() == HelpHwnd());
        CHECK(HelpWindow::Instance().CurrentTopic() == HelpTopics::Contents);
        CHECK(TextOf(GetDlgItem(HelpHwnd(), HelpWindow::IdTitle)) == L"Contents");
    }
}

TEST_CASE("in the help window links open topics, Back returns, the search narrows the index, Esc closes") {
    HelpFixture f;
    HelpWindow& help = HelpWindow::Instance();
    help.ShowTopic(HelpTopics::Contents);
    HWND w = HelpHwnd();
    HWND links = GetDlgItem(w, HelpWindow::IdLinks), index = GetDlgItem(w, HelpWindow::IdIndex);
    HWND search = GetDlgItem(w, HelpWindow::IdSearch), back = GetDlgItem(w, HelpWindow::IdBack);
    CHECK_FALSE(IsWindowEnabled(back));
    auto selectRow = [w](HWND list, const std::wstring& text) {
        const auto row = SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text.c_str()));
        REQUIRE(row >= 0);
        SendMessageW(list, LB_SETCURSEL, row, 0);
        SendMessageW(w, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    };

    selectRow(links, L"Large Icons"); // a link of the contents
    CHECK(help.CurrentTopic() == 36);
    CHECK(TextOf(GetDlgItem(w, HelpWindow::IdBody)) == HelpBook::Program().ByNumber(36)->PlainText(L"\r\n"));
    selectRow(links, L"The icon cache"); // and one of that topic
    CHECK(help.CurrentTopic() == 20);
    CHECK(IsWindowEnabled(back));
    SendMessageW(back, BM_CLICK, 0, 0);
    CHECK(help.CurrentTopic() == 36);
    SendMessageW(back, BM_CLICK, 0, 0);
    CHECK(help.CurrentTopic() == HelpTopics::Contents);
    CHECK_FALSE(IsWindowEnabled(back));

    SetWindowTextW(search, L"NETWORK NEIGH"); // the box narrows the index as the user types
    const auto rows = SendMessageW(index, LB_GETCOUNT, 0, 0);
    CHECK(rows == static_cast<LRESULT>(HelpBook::Program().Search(L"network neigh").size()));
    CHECK(rows >= 3);
    SendMessageW(search, WM_KEYDOWN, VK_RETURN, 0); // Enter opens the first entry
    CHECK(help.CurrentTopic() == HelpBook::Program().Search(L"network neigh")[0].topic);

    // A prompt's Help asks by keyword: a keyword opens its topic; one without, the contents searching for it.
    OpenHelpWindow(HELP_PARTIALKEY, L"Icon Cache", 0);
    CHECK(help.CurrentTopic() == 20);
    OpenHelpWindow(HELP_PARTIALKEY, L"no such words", 0);
    CHECK(help.CurrentTopic() == HelpTopics::Contents);
    CHECK(TextOf(search) == L"no such words");
    CHECK(SendMessageW(index, LB_GETCOUNT, 0, 0) == 0);

    PostMessageW(GetDlgItem(w, HelpWindow::IdBody), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    CHECK(HelpHwnd() == nullptr);
    CHECK_FALSE(IsWindow(w));
}

TEST_CASE("What's This shows the topic of the control clicked beside it, until the next click or key") {
    HelpFixture f;
    HWND apply = GetDlgItem(f.main->hwnd(), IdCmdApply);
    const struct {
        const char* what;
        int tab; // shown first, if any
        std::function<HWND()> target;
        int topic;
    } rows[] = {
        {"a disabled button", 0, [&] { return apply; }, HelpTopics::ApplyButton},
        {"an icon list", 3, [&] { return f.main->List(IconCategory::Start).lstMainHwnd(); },
         HelpTopics::Tab(3)},
        {"the settings tree", 1, [&] { return f.main->Tree().SystemTree(); }, HelpTopics::SettingsTree},
        {"the information bar", 0, [&] { return f.main->InfoBar(); }, HelpTopics::InformationBar},
    };
    for (const auto& row : rows) {
        CAPTURE(row.what);
        if (row.tab) f.main->SelectTab(row.tab);
        f.WhatsThisClick(row.target());
        REQUIRE(HelpPopupWindow() != nullptr);
        CHECK(IsWindowVisible(HelpPopupWindow()));
        CHECK(f.PopupText() == HelpPopupText(row.topic));
        CHECK(f.PopupText().starts_with(HelpBook::Program().ByNumber(row.topic)->title + L"\n\n"));
        CHECK(GetCapture() == HelpPopupWindow());
        SendMessageW(HelpPopupWindow(), WM_KEYDOWN, VK_SPACE, 0); // any key closes it
        CHECK(HelpPopupWindow() == nullptr);
    }
    f.WhatsThisClick(apply);
    SendMessageW(HelpPopupWindow(), WM_LBUTTONDOWN, MK_LBUTTON, 0); // and so does a click
    CHECK(HelpPopupWindow() == nullptr);

    SUBCASE("Esc leaves the mode without a pop-up") {
        PostMessageW(apply, WM_KEYDOWN, VK_ESCAPE, 0);
        f.Command(IdMenuWhatsThis);
    }
    SUBCASE("so does a click outside the window") {
        OwnerWindow elsewhere;
        PostMessageW(elsewhere.get(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        f.Command(IdMenuWhatsThis);
    }
    CHECK(HelpPopupWindow() == nullptr);
    CHECK(GetCapture() == nullptr);
}

TEST_CASE("the settings tree's What's This shows the selected node's topic beside the node") {
    HelpFixture f;
    f.main->SelectTab(1);
    const struct {
        const wchar_t* key;
        std::wstring text;
    } rows[] = {
        {L"Large Icons", HelpPopupText(36)},
        {L"Double Click Height", HelpPopupText(40)},
        {L"General", L"No help for this item."}, // a group without a topic
    };
    for (const auto& row : rows) {
        CAPTURE(text::Narrow(row.key));
        REQUIRE(f.main->Tree().SelectNode(row.key));
        Pump(); // what the editor's new layout sends, as between a user's two actions
        f.Command(IdMenuNodeWhatsThis);
        CHECK(f.PopupText() == row.text);
        RECT node{}, popup{};
        TreeView_GetItemRect(f.main->Tree().SystemTree(), f.main->Tree().Item(row.key), &node, TRUE);
        MapWindowPoints(f.main->Tree().SystemTree(), nullptr, reinterpret_cast<POINT*>(&node), 2);
        GetWindowRect(HelpPopupWindow(), &popup);
        CHECK(popup.left >= node.right); // beside the node
        CHECK(popup.top == node.top);
        SendMessageW(HelpPopupWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

TEST_CASE("a window's exceptions stop at its procedure, and it lets go of its window all the same") {
    ProbeWindow probe;
    const HWND hwnd = probe.hwnd();
    REQUIRE(hwnd);
    CHECK(SendMessageW(hwnd, WM_USER, 0, 0) == 0); // the default procedure's answer
    CHECK(IsWindow(hwnd));
    DestroyWindow(hwnd);
    CHECK_FALSE(IsWindow(hwnd));
    CHECK(probe.hwnd() == nullptr);
    CHECK(probe.destroyed == 1);
}

TEST_CASE("a dialog's exceptions stop at its procedure: it keeps working, or closes with -1 at the start") {
    ProbeDialog working(false), failing(true);
    DialogScript script({Click(L"Press"), Click(L"Press")}); // would end the failing one, had it shown
    CHECK(working.Run() == 7);
    CHECK(working.presses == 2);
    CHECK(working.hwnd() == nullptr);
    CHECK(failing.Run() == -1);
    CHECK(script.Completed());
}
