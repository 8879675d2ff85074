#pragma once

#include <cstddef>

class TextView;

// Makes every TextView readable by assistive technology: a read-only, multi-line text with its
// value, its caret and its selection. Installed once, however many views there are.
void InstallTextViewAccessible();
// Tells assistive technology, when one listens, where the caret now is.
void NotifyCaretMoved(TextView* view, std::size_t caret);
