#pragma once
// `frmRename`, "Rename Icon": a new name for the selected desktop object or special folder, and its shell
// tooltip. It only stages; Apply writes.
#include "icons/rename.h"
#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <functional>
#include <optional>

class Session;

inline constexpr wchar_t RenameCaption[] = L"Rename Icon";
inline constexpr wchar_t TooltipNote[] = L"You can also change the tooltip for this icon.";

class frmRename : public Dialog {
public:
    static constexpr int IdLabel = 100, IdNameLabel = 101, IdTextbox = 102, IdIcon = 103, IdNote = 104,
                         IdTooltipLabel = 105, IdTooltip = 106, IdRestore = 107;
    static constexpr int IdOK = IDOK, IdCancel = IDCANCEL;

    frmRename(Session& session, PromptPort& prompts);

    // Modal over owner, on the selected item of the Desktop or Folders tab; does nothing elsewhere.
    // True when something was staged.
    bool Show(HWND owner);

    // Runs once the dialog is up, inside its loop (tests drive the dialog from here).
    std::function<void(frmRename&)> OnShown;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdRestore_Click();

    Session& session_;
    PromptPort& prompts_;
    std::optional<RenameTarget> target_;
    UniqueHIcon icon_;
    bool staged_ = false;
};
