#pragma once
// `ToolBar`: the flat toolbar of twelve 18 x 18 picture buttons in six groups. A button shows no border until
// the pointer rests on it (raised frame); pressing sinks it and moves its picture a pixel right and down.
// Child: `container`, the panel the grooves, frames and the twelve buttons `mnuicon(0)` to `mnuicon(11)` are
// drawn on. The buttons are pictures, not windows: the container finds the one under the pointer. The
// toolbar itself draws the etched top line across its width.
#include "controls/surface_image.h"
#include "platform/unique_handle.h"
#include "platform/window.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class ToolBarIcons : public Window {
public:
    struct Events {
        // After a click with any mouse button but the right one; the index is also `Item`.
        std::function<void(int index)> Click;
    };

    static constexpr int ButtonCount = 12;
    static constexpr int ButtonSize = 18, ButtonTop = 4;
    static constexpr int FrameSize = 22;
    static constexpr int NoButton = 100; // the index that stands for the background
    static constexpr int ContainerLeft = 2, ContainerTop = 2, ContainerWidth = 505, ContainerHeight = 27;
    // What the toolbar needs from its host: the top line and the container below it.
    static constexpr int Height = ContainerTop + ContainerHeight;
    static constexpr int MinimumWidth = ContainerLeft + ContainerWidth;
    static constexpr std::array<int, ButtonCount> ButtonLefts = {2,   24,  53,  74,  103, 126,
                                                                 155, 178, 207, 230, 253, 282};
    static constexpr std::array<int, 5> GrooveLefts = {47, 97, 149, 201, 276};
    static constexpr std::array<std::wstring_view, ButtonCount> Captions = {L"Open Theme",
                                                                            L"Save Theme",
                                                                            L"Back",
                                                                            L"Forward",
                                                                            L"Rebuild Icons",
                                                                            L"Restore all Icons",
                                                                            L"Tessaly Home Page",
                                                                            L"Email Author",
                                                                            L"What's This?",
                                                                            L"Contents and Index",
                                                                            L"About Tessaly",
                                                                            L"Exit"};

    ToolBarIcons();
    ~ToolBarIcons() override;

    // x, y in the parent's client pixels; width 0 spans the parent's client area from x (never less than
    // MinimumWidth).
    bool Create(HWND parent, int id, int x, int y, int width = 0);
    Events& events() { return events_; }

    // The index of the button clicked last; 0 before any click.
    int Item() const { return item_; }
    // The pointer moved over button `index`, or over no button (NoButton): moves the hover frame. Hosts pass
    // NoButton, 1, 0, 0, 0 when the pointer moves over them outside the toolbar.
    void mnuicon_MouseMove(int index, int button, int shift, float x, float y);
    // Drops the hover frame: the host's own mouse moves and the toolbar losing the focus.
    void DropHover() { mnuicon_MouseMove(NoButton, 1, 0, 0, 0); }
    void ToolBar_LostFocus() { DropHover(); }

    // A disabled button is drawn greyed, shows no frame and raises no Click; its tooltip stays.
    void SetButtonEnabled(int index, bool enabled);
    bool ButtonEnabled(int index) const;

    // Where button `index` stands in the container: sunk a pixel right and down while pressed.
    RECT ButtonRect(int index) const;
    HWND ContainerHwnd() const;
    // The tooltip control, made on first use.
    HWND Tooltip();
    int Hovered() const { return hovered_; }
    bool Pressed() const { return pressed_; }
    // The container's persistent image (frames and grooves); CLR_INVALID outside it.
    COLORREF ContainerPixel(int x, int y) const { return image_.Pixel(x, y); }

private:
    class Panel;
    enum class FrameKind { Raised, Sunken, Erased };

    int ButtonAt(POINT point) const;
    // The container's mouse messages, as the button under the pointer (or the pressed one) would get them.
    void MouseMessage(UINT message, WPARAM keys, POINT point);
    void Press(int index, int button);
    void Release(int index, int button, bool inside);
    void DoubleClick(int index);
    void DrawFrame(int x, int y, FrameKind kind);
    void BuildPictures();
    void DrawButton(int index);
    void Invalidate(RECT area);
    void OnDestroyed() override;

    Events events_;
    std::unique_ptr<Panel> container_;
    std::array<bool, ButtonCount> enabled_{};
    HWND tooltip_ = nullptr; // a popup: destroyed with the toolbar
    SurfaceImage image_;
    // The pictures side by side, enabled in the top row and greyed below.
    UniqueMemDc picturesDc_;
    UniqueHBitmap pictures_;
    HGDIOBJ picturesOriginal_ = nullptr;

    int hovered_ = NoButton;
    int drawnX_ = 0, drawnY_ = 0;
    int item_ = 0;
    bool pressed_ = false;
    int pressedIndex_ = -1;
    int lastButton_ = 0;
    bool afterDoubleClick_ = false;
};
