#include "ui/prompt_dialog.h"

#include "platform/gdi_guards.h"

#include <algorithm>
#include <utility>

namespace {
// The label and icon sit at fixed places; everything else follows from the label's size.
constexpr int LabelLeft = 780, LabelTop = 180;
constexpr int IconLeft = 180, IconTop = 180;
constexpr int CheckHeight = 255;
constexpr int ButtonWidth = 1095, ButtonHeight = 375;

constexpr DWORD MeasureFlags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}

void Place(HWND control, const TwipsRect& r, const ScreenTwips& scale) {
    MoveWindow(control, scale.ToPixelsX(r.left), scale.ToPixelsY(r.top), scale.ToPixelsX(r.width),
               scale.ToPixelsY(r.height), FALSE);
}

bool ClosesDialog(const std::wstring& caption) {
    return caption != SettingsCaption && caption != HelpCaption;
}

std::wstring WithoutMnemonic(const std::wstring& caption) {
    std::wstring plain = caption;
    std::erase(plain, L'&');
    return plain;
}
} // namespace

PromptLayout LayOutPrompt(int textHeight, int width, bool hasCheck, int captionBar) {
    PromptLayout layout;
    layout.label = {LabelLeft, LabelTop, width ? width : DefaultPromptWidth,
                    std::max(textHeight, MinimumLabelHeight)};
    layout.iconLeft = IconLeft;
    layout.iconTop = IconTop;
    layout.windowHeight = layout.label.height + 950 + captionBar;
    layout.windowWidth = layout.label.width + 1000;
    for (int i = 0; i < 3; ++i) {
        TwipsRect& button = layout.buttons[i];
        button.left = i == 0 ? layout.windowWidth - 1325 : layout.buttons[i - 1].left - 1210;
        if (!hasCheck) {
            button.top = layout.label.height + 350;
        } else {
            layout.check = {layout.label.left, layout.label.height + 300, layout.label.width, CheckHeight};
            button.top = layout.check.top + 450;
            layout.windowHeight += 135; // once per button: 405 in all
        }
        button.width = ButtonWidth;
        button.height = ButtonHeight;
    }
    return layout;
}

POINT CentreOver(const RECT& owner, int width, int height) {
    return {owner.left + ((owner.right - owner.left) - width) / 2,
            owner.top + ((owner.bottom - owner.top) - height) / 2};
}

void SizeAndCentreOverOwner(HWND dialog, int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT ownerRect{};
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &ownerRect))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &ownerRect, 0);
    const POINT at = CentreOver(ownerRect, width, height);
    SetWindowPos(dialog, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenTwips ScreenTwips::Current() {
    ScreenTwips scale;
    const SIZE perInch = ScreenPixelsPerInch();
    scale.x = 1440 / std::max(1, static_cast<int>(perInch.cx));
    scale.y = 1440 / std::max(1, static_cast<int>(perInch.cy));
    scale.x = std::max(scale.x, 1);
    scale.y = std::max(scale.y, 1);
    return scale;
}

frmPrompt::frmPrompt(const Prompt& prompt, SystemPort& system, std::wstring helpFile)
    : prompt_(prompt), system_(system), helpFile_(std::move(helpFile)) {
    On(WM_INITDIALOG, [this](WPARAM, LPARAM) {
        Form_Load();
        return FALSE; // the focus is set already
    });
    On(WM_CLOSE, [this](WPARAM, LPARAM) {
        Finish();
        return TRUE;
    });
    On(WM_DRAWITEM, [this](WPARAM id, LPARAM item) {
        if (id != IdIcon) return FALSE;
        picIcon_Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(item));
        return TRUE;
    });
    for (int i = 0; i < 3; ++i) OnCommand(IdCommand + i, [this, i] { Command_Click(i); });
    OnCommand(IDCANCEL, [this] { Form_Cancel(); });
}

PromptResult frmPrompt::Show(HWND owner) {
    owner_ = owner;
    result_ = {};
    DialogTemplate layout(L"Tessaly", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", IdMsg, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL | WS_GROUP | WS_VISIBLE);
    layout.AddControl(L"STATIC", L"", IdIcon, SS_OWNERDRAW | WS_VISIBLE);
    layout.AddControl(L"BUTTON", L"", IdCheck, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
    // Created left to right so that the tab key follows the row as the user sees it.
    for (int i = 2; i >= 0; --i) layout.AddControl(L"BUTTON", L"", IdCommand + i, BS_PUSHBUTTON | WS_TABSTOP);
    if (RunModal(layout, owner) == -1) return {};
    return result_;
}

void frmPrompt::Form_Load() {
    HWND dialog = hwnd();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);

    const ScreenTwips scale = ScreenTwips::Current();
    const int labelWidth = prompt_.width ? prompt_.width : DefaultPromptWidth;
    RECT text{0, 0, scale.ToPixelsX(labelWidth), 0};
    {
        WindowDc dc(dialog);
        SelectGuard font(dc.get(), MessageFont());
        DrawTextW(dc.get(), prompt_.message.c_str(), static_cast<int>(prompt_.message.size()), &text,
                  MeasureFlags);
    }
    const bool hasCheck = !prompt_.checkCaption.empty();
    const PromptLayout layout = LayOutPrompt((text.bottom - text.top) * scale.y, prompt_.width, hasCheck,
                                             GetSystemMetrics(SM_CYCAPTION) * scale.y);

    HWND capMsg = Item(dialog, IdMsg);
    SetWindowTextW(capMsg, prompt_.message.c_str());
    Place(capMsg, layout.label, scale);

    const int iconWidth = GetSystemMetrics(SM_CXICON), iconHeight = GetSystemMetrics(SM_CYICON);
    MoveWindow(Item(dialog, IdIcon), scale.ToPixelsX(layout.iconLeft), scale.ToPixelsY(layout.iconTop),
               iconWidth, iconHeight, FALSE);
    stockIcon_ = LoadIconW(nullptr, MAKEINTRESOURCEW(prompt_.icon));
    sizedIcon_.reset(static_cast<HICON>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(prompt_.icon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));

    HWND check = Item(dialog, IdCheck);
    if (hasCheck) {
        SetWindowTextW(check, (L"&" + prompt_.checkCaption).c_str());
        Place(check, layout.check, scale);
    }
    ShowWindow(check, hasCheck ? SW_SHOWNA : SW_HIDE);

    int defaultButton = -1;
    for (int i = 0; i < 3; ++i) {
        HWND command = Item(dialog, IdCommand + i);
        const std::wstring& caption = prompt_.buttons[i];
        SetWindowTextW(command, caption.c_str());
        Place(command, layout.buttons[i], scale);
        ShowWindow(command, caption.empty() ? SW_HIDE : SW_SHOWNA);
        // Enter presses the first button that answers; Help and Settings would leave the prompt open.
        if (defaultButton < 0 && !caption.empty() && ClosesDialog(caption)) defaultButton = i;
    }

    const int width = scale.ToPixelsX(layout.windowWidth), height = scale.ToPixelsY(layout.windowHeight);
    RECT ownerRect{};
    if (!owner_ || !IsWindowVisible(owner_) || IsIconic(owner_) || !GetWindowRect(owner_, &ownerRect))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &ownerRect, 0);
    const RECT ownerTwips{ownerRect.left * scale.x, ownerRect.top * scale.y, ownerRect.right * scale.x,
                          ownerRect.bottom * scale.y};
    const POINT place = CentreOver(ownerTwips, layout.windowWidth, layout.windowHeight);
    int left = place.x / scale.x, top = place.y / scale.y;
    // Keep the whole prompt on the screen the owner is on, even when the owner hangs over its edge.
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (GetMonitorInfoW(MonitorFromRect(&ownerRect, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& area = monitor.rcWork;
        left = std::max<int>(area.left, std::min<int>(left, area.right - width));
        top = std::max<int>(area.top, std::min<int>(top, area.bottom - height));
    }
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    if (defaultButton >= 0) {
        SendMessageW(dialog, DM_SETDEFID, IdCommand + defaultButton, 0);
        SetFocus(Item(dialog, IdCommand + defaultButton));
    } else if (hasCheck) {
        SetFocus(check);
    }
}

void frmPrompt::Command_Click(int index) {
    const std::wstring& caption = prompt_.buttons[index];
    if (caption.empty()) return; // a hidden button cannot be pressed
    // Recorded first: should the prompt be closed while Help or the display settings are up, the answer
    // is the button pressed last.
    Record(index);
    if (caption == SettingsCaption) {
        system_.RunProgram(DisplaySettingsCommand, SW_SHOWMINIMIZED);
        return;
    }
    if (caption == HelpCaption) {
        if (!prompt_.helpKeyword.empty()) system_.OpenHelp(helpFile_, HelpPartialKey, prompt_.helpKeyword, 0);
        return;
    }
    Finish();
}

void frmPrompt::Form_Cancel() {
    // Esc presses a Cancel button when there is one; otherwise it closes the prompt without an answer.
    for (int i = 0; i < 3; ++i) {
        if (WithoutMnemonic(prompt_.buttons[i]) == L"Cancel") {
            Command_Click(i);
            return;
        }
    }
    Finish();
}

void frmPrompt::Record(int button) {
    result_.button = button;
    result_.ticked = IsDlgButtonChecked(hwnd(), IdCheck) == BST_CHECKED;
}

// Ends with the last button recorded, or Closed when none was pressed; the box is read as it stands now.
void frmPrompt::Finish() {
    Record(result_.button);
    EndModal(result_.button);
}

void frmPrompt::picIcon_Paint(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const int x = item.rcItem.left, y = item.rcItem.top;
    // The plain icon first, then the one sized for the system's icon metrics over it.
    if (stockIcon_) DrawIcon(item.hDC, x, y, stockIcon_);
    if (sizedIcon_) DrawIconEx(item.hDC, x, y, sizedIcon_.get(), 0, 0, 0, nullptr, DI_NORMAL);
}

RealPromptPort::RealPromptPort(SystemPort& system, std::wstring helpFile, HWND owner)
    : system_(system), helpFile_(std::move(helpFile)), owner_(owner) {}

PromptResult RealPromptPort::ShowPrompt(const Prompt& prompt) {
    frmPrompt dialog(prompt, system_, helpFile_);
    return dialog.Show(owner_);
}
