#include "icons/catalogue_variants.h"
#include "platform/text.h"
#include "session/session.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/startup.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    StartupFacts facts = FindStartupFacts();
    CatalogueVariants variants = FindCatalogueVariants(facts);
    Session session(std::move(facts), std::move(variants));
    session.Load();
    session.CommandLine = text::TrimSpaces(commandLine ? commandLine : L"");

    RealSystemPort system;
    system.helpViewer = &OpenHelpWindow;
    RealPromptPort prompts(system, session.Facts.HelpFile);
    MainWindow main(session, system, prompts);
    const bool created = main.Create([&](HWND window) {
        system.owner = window;
        prompts.SetOwner(window);
    });
    if (!created) return 1;
    if (!main.hwnd()) return 0; // a theme loaded and applied from the command line has ended the program
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
