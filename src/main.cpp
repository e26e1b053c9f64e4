#include "apply/apply.h"
#include "controls/common_dialog.h"
#include "icons/catalogue_variants.h"
#include "platform/text.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "themes/theme_commands.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/startup.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

// "/a", one character and a theme path: load the theme, apply it (settings left out) and end, without the
// window and without the closing steps. Cancelling the open dialog that an invalid file leads to ends too.
int LoadAndApply(Session& session, const std::wstring& commandLine, SystemPort& system, PromptPort& prompts) {
    CommonDialog dialog;
    ThemePorts ports{dialog, prompts, system,
                     [&](const std::wstring& path) {
                         SetCurrentTheme(session, path);
                         AddRecentTheme(session, path);
                     },
                     [&] { ApplyChanges(session, system, prompts); }};
    OpenTheme(session, commandLine, true, ports);
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    StartupFacts facts = FindStartupFacts();
    CatalogueVariants variants = FindCatalogueVariants(facts);
    Session session(std::move(facts), std::move(variants));
    session.Load();

    RealSystemPort system;
    system.helpViewer = &OpenHelpWindow;
    RealPromptPort prompts(system, session.Facts.HelpFile);
    const std::wstring commandLine = arguments ? arguments : L"";
    if (commandLine.starts_with(L"/a")) return LoadAndApply(session, commandLine, system, prompts);
    session.CommandLine = text::TrimSpaces(commandLine);

    MainWindow main(session, system, prompts);
    const bool created = main.Create([&](HWND window) {
        system.owner = window;
        prompts.SetOwner(window);
    });
    if (!created) return 1;
    if (!main.hwnd()) return 0; // the window ended during start-up
    ShowWindow(main.hwnd(), showCommand);
    UpdateWindow(main.hwnd());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(main.hwnd(), main.Accelerators(), &msg)) continue;
        if (!IsDialogMessageW(main.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
