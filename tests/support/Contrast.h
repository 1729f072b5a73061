// How well two colours tell apart on screen: the contrast ratio of their
// relative luminances, from 1 (the same) to 21 (black on white). Controls and
// their states read at a glance from 3 up.
#pragma once

#include <QColor>
#include <QWidget>
#include <algorithm>
#include <cmath>

inline double luminance(const QColor &c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

inline double contrast(const QColor &a, const QColor &b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// `control` as it shows over the backgrounds of its parents up to `ancestor`
// (its window unless given).
inline QImage onScreen(QWidget *control, QWidget *ancestor = nullptr) {
    if (!ancestor)
        ancestor = control->window();
    return ancestor->grab(QRect(control->mapTo(ancestor, QPoint(0, 0)), control->size())).toImage();
}
