#pragma once

#include <QStringList>
#include <QVariant>
#include <QWidget>

// The access key the window gave a field or a button, as assistive technology names it ("Alt+N"),
// held in the widget's property for its accessible object to give.
inline constexpr char kAccessKeyProperty[] = "tallowAccessKey";

inline QString AccessKeyOf(const QWidget* widget) {
    return widget->property(kAccessKeyProperty).toString();
}

// The key, for the one action it does, when the widget has one.
inline QStringList AccessKeyBindings(const QWidget* widget, bool itsAction) {
    const QString key = AccessKeyOf(widget);
    return itsAction && !key.isEmpty() ? QStringList{key} : QStringList{};
}
