// The main window's icon commands: Change, Default Icon, Rename and the two restores.
#include "controls/common_dialog.h"
#include "icons/change.h"
#include "icons/restore.h"
#include "session/session.h"
#include "themes/recent_themes.h"
#include "ui/change_icon_dialog.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"
#include "ui/rename_dialog.h"

struct MainWindow::IconCommandParts : IconCommandView {
    explicit IconCommandParts(MainWindow& window) : main(window) {}

    void SetInfoBar(const std::wstring& text) override { SetWindowTextW(main.InfoBar_, text.c_str()); }
    void ListClick(IconCategory category) override { main.List_Click(category); }
    void CaptionCleared() override { SetCurrentTheme(main.session_, L""); }

    IconChooserPort& Chooser() {
        realChooser.SetOwner(main.hwnd());
        return chooser ? *chooser : realChooser;
    }
    FileDialogPort& PointerFiles() {
        realFiles.SetOwner(main.hwnd());
        return files ? *files : realFiles;
    }

    MainWindow& main;
    RealIconChooser realChooser;
    CommonDialog realFiles; // `CDialog`
    IconChooserPort* chooser = nullptr;
    FileDialogPort* files = nullptr;
};

void MainWindow::UseIconPorts(IconChooserPort& chooser, FileDialogPort& pointerFiles) {
    iconParts_->chooser = &chooser;
    iconParts_->files = &pointerFiles;
}

void MainWindow::WireIconCommands() {
    iconParts_ = std::make_shared<IconCommandParts>(*this);
    IconCommandParts& parts = *iconParts_;
    OnCommand(IdCmdChange,
              [this, &parts] { cmdChange_Click(session_, parts.Chooser(), parts.PointerFiles(), parts); });
    OnCommand(IdCmdDefault, [this, &parts] { cmdDefault_Click(session_, parts); });
    OnCommand(IdCmdRename, [this] {
        frmRename dialog(session_, prompts_);
        dialog.Show(hwnd());
    });
    OnCommand(IdMenuRestoreIcons, [this, &parts] { RestoreAllIcons(session_, prompts_, system_, parts); });
    OnCommand(IdMenuRestorePointers,
              [this, &parts] { RestoreAllPointers(session_, prompts_, system_, parts); });
}
