#pragma once
// `ListBoxIcons`: the window that draws one icon list model, 50 pixels a row, and turns presses, drags and
// keys into selections. Three children: `Container` (the sunken clip frame), `lstMain` (the drawing surface,
// moved up and down inside the frame to scroll) and `Scroll` (the vertical scroll bar).
// The model must outlive the control.
#include "controls/icon_pictures.h"
#include "controls/surface_image.h"
#include "icons/icon_list.h"
#include "platform/window.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class ListBoxIcons : public Window, private IconListModel::Observer {
public:
    // Raised to the host. Shift is 1 Shift, 2 Ctrl, 4 Alt; Button is 1 left, 2 right, 4 middle (for MouseMove
    // the buttons held); X and Y are surface pixels.
    struct Events {
        std::function<void()> Click;
        std::function<void()> DblClick;
        std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyDown;
        std::function<void(std::int16_t keyAscii)> KeyPress;
        std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyUp;
        std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseMove;
        std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseUp;
    };

    static constexpr int RowHeight = IconListModel::RowHeight;
    static constexpr int ArrowStep = 50;
    static constexpr int PageStep = 150;
    static constexpr int IconLeft = 15, IconTop = 9, CaptionTop = 20;
    static constexpr UINT CaptionFormat = 0x920; // one line, no clipping, no prefix
    static constexpr size_t FirstDrawKeep = 20, RedrawKeep = 25;

    explicit ListBoxIcons(IconListModel& model);
    ~ListBoxIcons() override;

    bool Create(HWND parent, int id, int x, int y, int width, int height, bool shown = true);

    IconListModel& model() { return model_; }
    Events& events() { return events_; }

    HWND ContainerHwnd() const { return frame_.hwnd(); }
    HWND lstMainHwnd() const { return surface_.hwnd(); }
    HWND ScrollHwnd() const { return scroll_; }

    int ScrollValue() const { return scrollValue_; }
    int ScrollMax() const { return scrollMax_; }
    // W: the surface's inner width, against which captions are centred and shortened.
    int SurfaceWidth() const { return image_.width(); }
    int CaptionWidth(const std::wstring& caption) const;
    // The caption as last drawn on a row (shortened or whole); empty for a row that shows no item.
    const std::wstring& DrawnCaption(int row) const;
    // The persistent image, which is what the surface shows.
    COLORREF SurfacePixel(int x, int y) const { return image_.Pixel(x, y); }
    const IconPictureCache& pictures() const { return pictures_; }

private:
    // The clip frame and the surface forward what they receive to the control.
    class Frame : public Window {
    public:
        explicit Frame(ListBoxIcons& owner);
        bool Create(HWND parent);
    };
    class Surface : public Window {
    public:
        explicit Surface(ListBoxIcons& owner);
        bool Create(HWND parent);
    };

    // IconListModel::Observer
    void ItemAdded(int row) override;
    void SelectionChanged(int oldRow, int newRow) override;
    void Redraw(int row) override;

    void Layout(int width, int height);
    void SizeSurface(int width);
    void UpdateScrollRange();
    void SetScrollValue(int value);
    void OnScroll(WPARAM request);
    void OnWheel(int delta);
    void OnKeyDown(WPARAM key);
    void Navigate(WPARAM key);
    void OnButtonDown(int button, LPARAM point, bool doubleClick);
    void OnButtonUp(int button, LPARAM point);
    void OnMouseMove(WPARAM keys, LPARAM point);
    void OnDestroyed() override;

    void EraseBand(int top);
    void DrawRow(int row, int top, bool selected, bool firstDraw);
    void DrawCaption(int row, const std::wstring& caption, int top, COLORREF colour, size_t keep);
    // The row drawn unselected, on a band erased to the window colour.
    void DrawItem(int row);
    // The row drawn selected: highlight fill, focus rectangle, highlighted caption.
    void DrawSelectedItem(int row);
    void RedrawKeepingHighlight();
    void Refresh();
    int FrameInnerHeight() const;
    int FrameOuterHeight() const;

    IconListModel& model_;
    Events events_;
    Frame frame_;     // `Container`
    Surface surface_; // `lstMain`
    HWND scroll_ = nullptr;
    SurfaceImage image_;
    IconPictureCache pictures_;
    HFONT font_ = nullptr; // not owned: the host's or the message font
    std::array<std::wstring, IconListModel::Capacity> drawnCaptions_;
    int highlightedRow_ = -1; // what the image shows, which after an AddItem is no row at all
    int scrollValue_ = 0;
    int scrollMax_ = 0;
    int pressedButtons_ = 0;
    bool afterDoubleClick_ = false;
    int wheelRemainder_ = 0;
};
