#include "help/help_book.h"
#include "platform/text.h"
#include "prompts/messages.h"
#include "settings/settings_catalogue.h"
#include "support/dialog_script.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/whats_this.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

namespace {

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
