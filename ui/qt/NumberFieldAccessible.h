#pragma once

class QAccessibleInterface;
class QPlainTextEdit;

// What assistive technology sees of the number field: an editable, multi-line text with its
// value, caret and selection, and the field's access key, which Qt's own object cannot give.
QAccessibleInterface* NumberFieldInterface(QPlainTextEdit* field);
