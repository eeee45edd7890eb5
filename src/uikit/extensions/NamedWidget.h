#pragma once

#include <QString>

/// `widget` with its object name set to `name`, for building a view in one expression.
template <typename T> T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}
