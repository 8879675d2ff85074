#pragma once

struct IconPoint {
    int x;
    int y;
};

// Where the minimised window's icon is drawn: centred, with the halves truncated toward zero, so
// a 32-pixel icon in a 36-pixel client area lands at 2 and one in a 29-pixel area at -1.
constexpr IconPoint CentredIcon(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
