#include "ui/TextFit.h"

namespace {

constexpr std::u16string_view kEllipsis = u"…";

bool IsTrailingSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Keeps kept units of text, half from each end, never splitting a surrogate pair.
std::u16string Shortened(std::u16string_view text, std::size_t kept) {
    std::size_t head = (kept + 1) / 2;
    std::size_t tail = text.size() - (kept - head);
    if (head < text.size() && IsTrailingSurrogate(text[head])) {
        --head;
    }
    if (tail < text.size() && IsTrailingSurrogate(text[tail])) {
        ++tail;
    }
    std::u16string shown(text.substr(0, head));
    shown += kEllipsis;
    shown += text.substr(tail);
    return shown;
}

}  // namespace

std::u16string ElideMiddle(std::u16string_view text, int width, const MeasureText& measure) {
    if (measure(text) <= width) {
        return std::u16string(text);
    }
    std::size_t fits = 0;
    std::size_t tooMany = text.size();
    while (tooMany - fits > 1) {
        const std::size_t middle = fits + (tooMany - fits) / 2;
        (measure(Shortened(text, middle)) <= width ? fits : tooMany) = middle;
    }
    return Shortened(text, fits);
}

double FittingFontSize(double size, double smallest, int room,
                       const std::function<int(double)>& widthAt) {
    while (size > smallest && widthAt(size) > room) {
        size -= 0.5;
    }
    return size < smallest ? smallest : size;
}
