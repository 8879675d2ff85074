#pragma once

#include <cstddef>

#include "core/SharedText.h"

class TextView;

// Makes every TextView readable by assistive technology: a read-only, multi-line text with its
// value, its caret, its selection and where each character is drawn.
void InstallTextViewAccessible();

// Tell assistive technology, when one listens, what changed in a view.
void NotifyTextReplaced(TextView* view, const SharedText& before, const SharedText& after);
void NotifyCaretMoved(TextView* view, std::size_t caret);
void NotifySelectionChanged(TextView* view, std::size_t start, std::size_t end);
