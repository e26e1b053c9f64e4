#pragma once
// `frmChangeIcon`, "Change Icon": every icon of a file in a grid four rows high that scrolls sideways; the
// user picks one. The file's icons are extracted in one call when the file is shown and kept while it is
// shown, so painting and scrolling never go back to the file.
#include "controls/file_icons.h"
#include "icons/icon_grid.h"
#include "icons/icon_ports.h"
#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

inline constexpr wchar_t ChangeIconCaption[] = L"Change Icon";
// Description and pattern pairs, each text followed by one NUL.
std::wstring IconBrowseFilter();

class frmChangeIcon : public Dialog {
public:
    static constexpr int IdFilename = 100, IdBrowse = 101, IdGrid = 102, IdScroll = 103;
    static constexpr int IdOK = IDOK, IdCancel = IDCANCEL;

    // text, title, MessageBox style. The real one shows a message box owned by the dialog.
    using MessageShower = std::function<void(const std::wstring&, const std::wstring&, UINT)>;

    explicit frmChangeIcon(FileDialogPort& browse);
    ~frmChangeIcon() override;

    // Modal over owner: true when the user confirmed; the choice is then in ChosenFile and ChosenIndex.
    bool ChooseIcon(HWND owner, const std::wstring& file, std::int16_t index);
    std::wstring ChosenFile;
    std::int16_t ChosenIndex = 0;

    MessageShower ShowMessage;
    // Runs once the dialog is up, inside its loop (tests drive the dialog from here).
    std::function<void(frmChangeIcon&)> OnShown;

    const IconGrid& grid() const { return grid_; }
    // How many times the grid's icons were read from a file.
    int FileReads() const { return fileReads_; }
    HWND lstMain() const;

private:
    class GridView;

    void Form_Load();
    void DisplayIcons();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();
    void txtFilename_Enter();
    void lstMain_MouseDown(int x, int y);
    void lstMain_DblClick();
    void lstMain_KeyDown(WPARAM key);
    void Scroll_Change(int request);
    void ShowScroll();
    void SelectionMoved();
    void EnableOK(bool enable);
    void FocusOn(HWND control);
    void PaintGrid(HDC dc, const RECT& client);

    FileDialogPort& browse_;
    std::unique_ptr<GridView> view_;
    IconGrid grid_;
    FileIcons icons_;
    std::wstring startFile_;
    std::int16_t startIndex_ = 0;
    bool cancelled_ = true;
    int fileReads_ = 0;
};

// `ChooseIcon` for the main window: the picker over the owner, with its own file dialog kept between runs.
class RealIconChooser : public IconChooserPort {
public:
    explicit RealIconChooser(HWND owner = nullptr);
    ~RealIconChooser() override;
    void SetOwner(HWND owner) { owner_ = owner; }
    std::optional<ChosenIcon> ChooseIcon(const std::wstring& file, std::int16_t index) override;

private:
    HWND owner_;
    std::unique_ptr<FileDialogPort> dialog_; // `Dialog`
};
