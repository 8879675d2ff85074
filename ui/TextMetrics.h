#pragma once

#include <string_view>
#include <vector>

// How a front end measures text in a view's font, in pixels.
class TextMetrics {
  public:
    virtual int LineHeight() const = 0;
    // A digit's advance: long lines are laid out in cells this wide.
    virtual int CellWidth() const = 0;
    // The right edge of each unit of characters, from their start, as they are drawn together.
    virtual std::vector<int> Edges(std::u16string_view characters) const = 0;

  protected:
    ~TextMetrics() = default;
};
