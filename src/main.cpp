#include "icons/catalogue_variants.h"
#include "session/session.h"
#include "ui/help_window.h"
#include "ui/main_window.h"
#include "ui/prompt_dialog.h"
#include "ui/startup.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    StartupFacts facts = FindStartupFacts();
    CatalogueVariants variants = FindCatalogueVariants(facts);
    Session session(std::move(facts), std::move(variants));
    session.Load();

    RealSystemPort system;
    system.helpViewer = &OpenHelpWindow;
    RealPromptPort prompts(system, session.Facts.HelpFile);
    MainWindow main(session, system, prompts);
    if (!main.Create()) return 1;
    system.owner = main.hwnd();
    prompts.SetOwner(main.hwnd());
    ShowWindow(main.hwnd(), showCommand);
    UpdateWindow(main.hwnd());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(main.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
