// Tools, "Undo Last Apply": the command runs on the session; the lists and the tree redraw from their
// models, and the information bar shows the selected item as it now stands.
#include "apply/undo.h"
#include "session/session.h"
#include "ui/command_ids.h"
#include "ui/main_window.h"

void MainWindow::WireUndoCommands() {
    OnCommand(IdMenuUndoLastApply, [this] {
        const UndoResult result = UndoLastApply(session_, system_, prompts_);
        if (result != UndoResult::Undone && result != UndoResult::PartlyUndone) return;
        if (auto shown = CategoryOfTab(session_.SelectedTab)) List_Click(*shown);
    });
}
