#pragma once
// The icon picker's grid without its window: 38-pixel cells four rows high, filled column by column, the
// selected cell, the sideways scroll and the arrow-key rules. Positions are grid pixels: x counts from the
// grid's left end, not from what is visible.
#include <cstdint>

class IconGrid {
public:
    static constexpr int Cell = 38;
    static constexpr int Rows = 4;
    static constexpr int IconInset = 3;
    static constexpr int Height = Rows * Cell;
    static constexpr int VisibleWidth = 8 * Cell; // up to 32 icons show without scrolling

    enum class Arrow { Down, Up, Right, Left };

    // A new file: its icon count. The selected index and cell stay, but nothing is highlighted until the
    // next selection; the scroll goes back to 0.
    void Load(int count);
    // No usable file: an empty grid that takes no presses.
    void Clear() { Load(0); }

    // A press of any button: false when (x, y) lies outside the grid, which changes nothing.
    bool Press(int x, int y);
    // Selects the cell of an icon as a press would and scrolls it into view; a negative index selects
    // nothing.
    void SelectIcon(int index);
    void Key(Arrow arrow);
    void SetScroll(int value);

    int Count() const { return count_; }
    int Columns() const { return (count_ + Rows - 1) / Rows; }
    int Width() const { return Columns() * Cell; }
    int ScrollValue() const { return scroll_; }
    int ScrollMax() const { return scrollMax_; }
    bool Scrollable() const { return count_ > 32; }

    // Column × 4 + row of the last press that landed on the grid, which may lie beyond the last icon.
    int SelectedIndex() const { return selected_; }
    int SelectionLeft() const { return left_; }
    int SelectionTop() const { return top_; }
    // Whether the selected cell shows highlighted (it holds an icon and was selected since the last load).
    bool Highlighted() const { return highlighted_; }
    // What OK returns: the selected index, or the last icon when it lies beyond.
    int ChosenIndex() const { return selected_ > count_ - 1 ? count_ - 1 : selected_; }

    static int CellLeft(int index) { return index / Rows * Cell; }
    static int CellTop(int index) { return index % Rows * Cell; }

private:
    int count_ = 0;
    std::int16_t selected_ = 0;
    int left_ = 0, top_ = 0;
    bool highlighted_ = false;
    int scroll_ = 0;
    int scrollMax_ = 0;
};
