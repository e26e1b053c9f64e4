#pragma once
// `CommonDialog`: the open and save file dialogs behind one reusable request, so that the filter pair
// the user picked last is preselected next time on the same instance.
#include "platform/ports.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

class CommonDialog : public FileDialogPort {
public:
    // owner: the window the dialogs are modal to; it may be set later.
    explicit CommonDialog(HWND owner = nullptr);

    void Filter(const std::wstring& pairs) override { filter_ = pairs; }
    void Title(const std::wstring& title) override { title_ = title; }
    bool ShowOpen(std::wstring& fileName) override;
    bool ShowSave(std::wstring& fileName) override;

    void SetOwner(HWND owner) { owner_ = owner; }

private:
    bool Show(std::wstring& fileName, bool save);

    HWND owner_;
    std::wstring filter_;
    std::wstring title_;
    DWORD filterIndex_ = 0; // what the dialog wrote back last time
};
