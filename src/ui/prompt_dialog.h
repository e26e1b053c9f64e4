#pragma once
// `frmPrompt`: the one modal dialog for every question and notice. It sizes itself to its message;
// the geometry is worked out in twips by LayOutPrompt and converted with the screen's twips per pixel.
#include "platform/ports.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <array>
#include <string>

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct PromptLayout {
    int windowWidth = 0, windowHeight = 0; // outer size, caption bar and borders included
    TwipsRect label, check;
    int iconLeft = 0, iconTop = 0;    // the picture box takes the system's icon size
    std::array<TwipsRect, 3> buttons; // Command(0), (1), (2), right to left
};

inline constexpr int DefaultPromptWidth = 4200;
inline constexpr int MinimumLabelHeight = 495;

// textHeight: the wrapped message's height; width: the label width (0 for the default); captionBar: the
// height of a window caption bar. All in twips; client positions are relative to the client area.
PromptLayout LayOutPrompt(int textHeight, int width, bool hasCheck, int captionBar);

// Left and top that centre a window of the given size over another (all in twips, whole twips).
POINT CentreOver(const RECT& owner, int width, int height);
// Gives a dialog the outer size for a client area of clientWidth by clientHeight pixels and centres it over
// its owner, or over the work area when the owner is hidden or minimized.
void SizeAndCentreOverOwner(HWND dialog, int clientWidth, int clientHeight);

// The screen's twips per pixel, horizontally and vertically.
struct ScreenTwips {
    int x = 15, y = 15;
    static ScreenTwips Current();
    int ToPixelsX(int twips) const { return (twips + x / 2) / x; }
    int ToPixelsY(int twips) const { return (twips + y / 2) / y; }
};

// What pressing a button with this caption does besides closing.
inline constexpr wchar_t SettingsCaption[] = L"&Settings...";
inline constexpr wchar_t HelpCaption[] = L"&Help";
inline constexpr wchar_t DisplaySettingsCommand[] = L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3";
inline constexpr UINT HelpPartialKey = 0x105;

class frmPrompt : public Dialog {
public:
    static constexpr int IdCommand = 100; // Command(i) is IdCommand + i
    static constexpr int IdCheck = 110;
    static constexpr int IdMsg = 111;
    static constexpr int IdIcon = 112;

    frmPrompt(const Prompt& prompt, SystemPort& system, std::wstring helpFile);
    // Modal; returns when the dialog has closed.
    PromptResult Show(HWND owner);

private:
    void Form_Load();
    void Command_Click(int index);
    void Form_Cancel();
    void Record(int button);
    void Finish();
    void picIcon_Paint(const DRAWITEMSTRUCT& item);

    const Prompt& prompt_;
    SystemPort& system_;
    std::wstring helpFile_;
    HWND owner_ = nullptr;
    PromptResult result_;
    HICON stockIcon_ = nullptr; // shared by the system, not ours to free
    UniqueHIcon sizedIcon_;
};

// Shows frmPrompt owned by the main window.
class RealPromptPort : public PromptPort {
public:
    RealPromptPort(SystemPort& system, std::wstring helpFile, HWND owner = nullptr);
    void SetOwner(HWND owner) { owner_ = owner; }
    PromptResult ShowPrompt(const Prompt& prompt) override;

private:
    SystemPort& system_;
    std::wstring helpFile_;
    HWND owner_;
};
