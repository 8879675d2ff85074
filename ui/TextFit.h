#pragma once

// Fitting a text into the room a control has, for both front ends: each measures in its own
// font and pixels.

#include <functional>
#include <string>
#include <string_view>

// A text's width in pixels.
using MeasureText = std::function<int(std::u16string_view)>;

// The text whole when it fits; otherwise as much of its start and its end as fit around "…", so
// that both the root and the file name of a path stay in sight.
std::u16string ElideMiddle(std::u16string_view text, int width, const MeasureText& measure);

// The largest font size, in half steps down from size to smallest (points or pixels, as the
// caller measures), at which widthAt says the text fits room; smallest when none does.
double FittingFontSize(double size, double smallest, int room,
                       const std::function<int(double)>& widthAt);
