#pragma once

// What a person sees of a window's controls, found by their object names.

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>

// Where a control stands in its window's client area.
inline QRect inWindow(const QWidget* control) {
    return {control->mapTo(control->window(), QPoint(0, 0)), control->size()};
}

// Whether the text a control shows fits the room it has, with nothing cut
// off at its edges.
inline bool textWhole(const QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int m = label->margin();
        const QRect room = label->contentsRect().adjusted(m, m, -m, -m);
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return label->text().isEmpty() ||
               room.contains(metrics.boundingRect(room, flags, label->text()));
    }
    if (qobject_cast<const QLineEdit*>(control))
        return control->sizeHint().height() <= control->height();
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control))
        return control->sizeHint().width() <= control->width();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return metrics.horizontalAdvance(button->text()) <= room.width();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            if (metrics.boundingRect(combo->itemText(i)).width() > room.width())
                return false;
    }
    return true;
}

// What a person would find wrong with these controls of a window: one that
// does not show, reaches out of the window, lies under another (its middle
// takes no click) or overlaps one named before it, or whose text is cut
// short. Empty when each shows whole and beside the others.
inline QStringList layoutFaults(const QWidget& window, const QStringList& names) {
    QStringList faults;
    QList<const QWidget*> seen;
    for (const QString& name : names) {
        const auto* control = window.findChild<QWidget*>(name);
        if (!control || !control->isVisibleTo(&window)) {
            faults.append(name + " does not show");
            continue;
        }
        const QRect at(control->mapTo(&window, QPoint(0, 0)), control->size());
        if (!window.rect().contains(at))
            faults.append(name + " reaches out of the window");
        const QWidget* top = window.childAt(at.center());
        if (window.rect().contains(at.center()) && top != control && !control->isAncestorOf(top))
            faults.append(name + " lies under " + (top ? top->objectName() : QString()));
        if (!textWhole(control))
            faults.append(name + "'s text is cut short");
        // An edge's pixel shared with a neighbour hides nothing.
        for (const QWidget* other : seen) {
            const QRect shared = at & QRect(other->mapTo(&window, QPoint(0, 0)), other->size());
            if (shared.width() > 2 && shared.height() > 2 && !other->isAncestorOf(control) &&
                !control->isAncestorOf(other))
                faults.append(name + " overlaps " + other->objectName());
        }
        seen.append(control);
    }
    return faults;
}

// The font family a control's text is drawn in, after the system's choice.
inline QString shownFamily(const QWidget* control) {
    return QFontInfo(control->font()).family();
}
