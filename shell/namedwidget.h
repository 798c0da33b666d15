#pragma once

#include <QWidget>

// Designer-style set-up: a child widget with its fixed object name.
template<typename T> T *namedWidget(QWidget *parent, const char *objectName)
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}
