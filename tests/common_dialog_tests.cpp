// The real open and save dialogs, answered from inside their own loops, alone and behind the main window's
// theme commands.
#include "controls/common_dialog.h"
#include "registry/program_keys.h"
#include "registry/registry.h"
#include "support/dialog_script.h"
#include "support/session_fixture.h"
#include "support/wide_text.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

namespace {

constexpr int FileNameBox = 0x47c, FileTypeBox = 0x470; // the dialog's cmb13 and cmb1

DialogScript::Step Type(const std::wstring& name) {
    return [name](HWND dialog) {
        CHECK_MESSAGE(SetDlgItemTextW(dialog, FileNameBox, name.c_str()), "no file name box");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}
// Presses a button by id, in the file dialog or in a message box over it.
DialogScript::Step Press(int id) {
    return [id](HWND dialog) {
        CHECK_MESSAGE(GetDlgItem(dialog, id) != nullptr, "no such button here");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    };
}

} // namespace

TEST_CASE("CommonDialog: title and filter kept, the last filter pair preselected, Cancel, the platform's own "
          "checks, and paths longer than 255 characters") {
    OwnerWindow owner;
    TempMachine m;
    const std::wstring text = m.Write(m.root, L"notes.txt", "x");
    CommonDialog dialog(owner.get());
    dialog.Filter(std::wstring(L"Icons\0*.ico\0Text\0*.txt\0", 24));
    dialog.Title(L"Pick");
    std::wstring name = L"stale";
    auto show = [&](bool save, std::vector<DialogScript::Step> steps) {
        DialogScript script(std::move(steps));
        const bool chosen = save ? dialog.ShowSave(name) : dialog.ShowOpen(name);
        CHECK(script.Completed());
        return chosen;
    };
    // A new file whose path is longer than the old 255-byte buffer (the platform's own dialog here stops at
    // MAX_PATH).
    std::wstring longPath = m.MakeFolder(std::wstring(120, L'f')) + L"\\";
    longPath += std::wstring(254 - longPath.size(), L'n') + L".txt";
    CHECK(show(true, {Type(longPath)}));
    CHECK(name == longPath);
    auto fileType = [](HWND d) { return SendDlgItemMessageW(d, FileTypeBox, CB_GETCURSEL, 0, 0); };
    CHECK(show(false, {[&](HWND d) {
                           CHECK(TextOf(d) == L"Pick");
                           CHECK(fileType(d) == 0);
                           SendDlgItemMessageW(d, FileTypeBox, CB_SETCURSEL, 1, 0);
                           for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) // as a click sends them
                               SendMessageW(d, WM_COMMAND, MAKEWPARAM(FileTypeBox, code),
                                            reinterpret_cast<LPARAM>(GetDlgItem(d, FileTypeBox)));
                       },
                       Type(text)}));
    CHECK(name == text);
    CHECK_FALSE(show(false, {[&](HWND d) { CHECK(fileType(d) == 1); }, Press(IDCANCEL)}));
    CHECK(name.empty());
    // Open refuses a missing file: the platform says so (a message box, no name box) and the dialog stays.
    auto messageBox = [](HWND d) {
        CHECK(GetDlgItem(d, FileNameBox) == nullptr);
        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    CHECK_FALSE(show(false, {Type(m.root + L"\\none.txt"), messageBox, Press(IDCANCEL)}));
    CHECK(show(true, {Type(text), Press(IDYES)})); // Save over an existing file asks first; IDYES answers it
    CHECK(name == text);
}

TEST_CASE("the File menu's theme commands through the real dialogs, and the recent themes") {
    SessionFixture f;
    Session& s = f.Load({});
    MainWindow main(s, f.system, f.prompts);
    REQUIRE(main.Create());
    for (int id : {IdMenuOpenTheme, IdMenuSaveTheme, IdMenuSaveThemeAs, IdMenuRecentTheme1,
                   IdMenuRecentTheme2, IdMenuRecentTheme3, IdMenuRecentTheme4})
        CHECK(main.HasCommand(id));
    auto command = [&](int id) { SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    const std::wstring folder = f.machine.MakeFolder(L"Themes");
    const std::wstring icon = f.machine.Write(folder, L"pc.ico", IconFileBytes(IconFileKind::Icon));
    s.Lists[IconCategory::Desktop].Change(L"My Computer", L"", icon + L",0");
    auto viaDialog = [&](int id, const std::wstring& typed) {
        DialogScript script({Type(typed)});
        command(id);
        CHECK(script.Completed());
    };
    viaDialog(IdMenuSaveThemeAs, folder + L"\\Mine");
    CHECK(s.CurrentThemePath == folder + L"\\Mine.tstheme"); // read back below from the recent list
    const std::wstring other =
        f.machine.Write(folder, L"Other.motif",
                        "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]\n"
                        "DefaultValue=%ThemeDir%pc.ico,1\n");
    viaDialog(IdMenuOpenTheme, other);
    CHECK(TextOf(main.InfoBar()) == icon + L",1");
    Registry::WriteString(ThemesKey, L"3", folder + L"\\Mine.tstheme");
    command(IdMenuRecentTheme3);
    CHECK(s.CurrentThemePath == folder + L"\\Mine.tstheme");
    CHECK(TextOf(main.InfoBar()) == icon + L",0");
    CHECK(Registry::ReadString(ThemesKey, L"1") == folder + L"\\Mine.tstheme"); // the list follows the loads
    Registry::DeleteValue(ThemesKey, L"4");
    const size_t shown = f.prompts.shown.size();
    command(IdMenuRecentTheme4); // an empty slot opens nothing
    CHECK(f.prompts.shown.size() == shown);
    CHECK(s.CurrentThemePath == folder + L"\\Mine.tstheme");
    DestroyWindow(main.hwnd());
}
