#include "icons/icon_grid.h"

#include <algorithm>
#include <cstdlib>

void IconGrid::Load(int count) {
    count_ = std::max(count, 0);
    highlighted_ = false;
    scroll_ = 0;
    scrollMax_ = Scrollable() ? std::abs(Width() - VisibleWidth) : 0;
}

bool IconGrid::Press(int x, int y) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height) return false;
    left_ = x / Cell * Cell;
    top_ = y / Cell * Cell;
    selected_ = static_cast<std::int16_t>(left_ / Cell * Rows + top_ / Cell);
    highlighted_ = selected_ < count_;
    return true;
}

void IconGrid::SelectIcon(int index) {
    if (index < 0) return;
    const int x = CellLeft(index);
    Press(x, CellTop(index));
    if (x + Cell > VisibleWidth) SetScroll(std::min(x, scrollMax_));
}

void IconGrid::SetScroll(int value) {
    scroll_ = std::clamp(value, 0, scrollMax_);
}

void IconGrid::Key(Arrow arrow) {
    const int x = left_, y = top_;
    switch (arrow) {
    case Arrow::Down:
        y >= 100 ? Press(x + Cell, 0) : Press(x, y + Cell);
        break;
    case Arrow::Up:
        y < 1 ? Press(x - Cell, 114) : Press(x, y - Cell);
        break;
    case Arrow::Right:
        Press(x + Cell, y);
        break;
    case Arrow::Left:
        Press(x - Cell, y);
        break;
    }
    // The cell now selected (the old one when the press was ignored) is brought into view one column at a
    // time.
    if (arrow == Arrow::Down || arrow == Arrow::Right) {
        if (left_ + Cell > scroll_ + VisibleWidth) SetScroll(scroll_ + Cell);
    } else if (left_ < scroll_) {
        SetScroll(scroll_ - Cell);
    }
}
