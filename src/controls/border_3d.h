#pragma once
// `CBorder3D`: paints 3-D bevels and frames with straight lines on a canvas (a window or a device context),
// around a client window or inside a rectangle given in the canvas's twips. Set the properties, then
// `Refresh`; it is the only member that draws. Out-of-range property values are ignored.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// What Refresh reports instead of drawing; nothing is drawn after it and the canvas is left untouched.
struct BorderError {
    std::int32_t number = 0;
    std::wstring source;
    std::wstring description;
    bool operator==(const BorderError&) const = default;
};

class CBorder3D {
public:
    static constexpr std::int32_t ErrCanvasNotSet = static_cast<std::int32_t>(0x80040400u);
    static constexpr std::int32_t ErrCanvasAmbiguous = static_cast<std::int32_t>(0x80040401u);
    static constexpr std::int32_t ErrOverflow = 6;
    static constexpr wchar_t ErrorSource[] = L"CBorder3D";
    static constexpr wchar_t CanvasNotSetText[] = L"Canvas and/or Client Properties not set.";
    static constexpr wchar_t CanvasAmbiguousText[] = L"Canvas Property ambiguous.";
    static constexpr wchar_t OverflowText[] = L"Overflow";

    // Colours are plain RGB values, or a system colour: SystemColour(COLOR_...), resolved when drawing.
    static constexpr std::uint32_t SystemColour(int index) {
        return 0x80000000u | static_cast<std::uint32_t>(index);
    }

    enum Bevel : std::int16_t { BevelNone = 0, BevelLowered = 1, BevelRaised = 2 };

    using CanvasRef = std::variant<std::monostate, HWND, HDC>;

    // Records the screen's twips per pixel.
    CBorder3D();
    CBorder3D(int twipsPerPixelX, int twipsPerPixelY);

    void SetClient(HWND client) { client_ = client; }
    HWND Client() const { return client_; }
    void SetCanvas(HWND canvas) { canvas_ = canvas; }
    void SetCanvas(HDC canvas) { canvas_ = canvas; }
    CanvasRef Canvas() const { return canvas_; }
    void SetStyle3D(std::int16_t style);
    std::int16_t Style3D() const { return style_; }
    void SetBevelInner(std::int16_t bevel);
    std::int16_t BevelInner() const { return bevelInner_; }
    void SetBevelOuter(std::int16_t bevel);
    std::int16_t BevelOuter() const { return bevelOuter_; }
    void SetBevelWidth(std::int16_t pixels);
    std::int16_t BevelWidth() const { return bevelWidth_; }
    void SetBorderWidth(std::int16_t pixels);
    std::int16_t BorderWidth() const { return borderWidth_; }
    void SetLeft(std::int16_t twips) { left_ = twips; }
    std::int16_t Left() const { return left_; }
    void SetTop(std::int16_t twips) { top_ = twips; }
    std::int16_t Top() const { return top_; }
    void SetWidth(std::int16_t twips) { width_ = twips; }
    std::int16_t Width() const { return width_; }
    void SetHeight(std::int16_t twips) { height_ = twips; }
    std::int16_t Height() const { return height_; }
    void SetHighLight(std::uint32_t colour) { highLight_ = colour; }
    std::uint32_t HighLight() const { return highLight_; }
    void SetShadow(std::uint32_t colour) { shadow_ = colour; }
    std::uint32_t Shadow() const { return shadow_; }
    void SetBackground(std::uint32_t colour) { background_ = colour; }
    std::uint32_t Background() const { return background_; }
    void SetActOnNone(bool erase) { actOnNone_ = erase; }
    bool ActOnNone() const { return actOnNone_; }

    // Draws by Style3D. The canvas's mapping mode and origins are the same afterwards as before.
    std::optional<BorderError> Refresh();

    int TwipsPerPixelX() const { return tx_; }
    int TwipsPerPixelY() const { return ty_; }

private:
    struct Box {
        int x1, y1, x2, y2; // twips
    };
    struct Line {
        int x1, y1, x2, y2; // twips, the end point not drawn
        std::uint32_t colour;
        bool box = false; // an outline with both corners, rather than a line
    };

    std::optional<BorderError> Plan(std::vector<Line>& lines) const;
    void PlanBevel(std::vector<Line>& lines, Box r, int kind) const;
    void PlanBevels(std::vector<Line>& lines, Box r) const;

    int tx_ = 15, ty_ = 15;
    HWND client_ = nullptr;
    CanvasRef canvas_;
    std::int16_t style_ = 0;
    std::int16_t bevelInner_ = BevelNone;
    std::int16_t bevelOuter_ = BevelRaised;
    std::int16_t bevelWidth_ = 3;
    std::int16_t borderWidth_ = 2;
    std::int16_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::uint32_t highLight_ = SystemColour(COLOR_3DHILIGHT);
    std::uint32_t shadow_ = SystemColour(COLOR_BTNSHADOW);
    std::uint32_t background_ = SystemColour(COLOR_BTNFACE);
    bool actOnNone_ = false;
};
