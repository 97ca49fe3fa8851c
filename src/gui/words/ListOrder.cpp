#include "words/ListOrder.h"

namespace {
// The C locale collates by code point whatever the case setting says; a
// person reading the list still expects "apple" before "Bread".
QLocale readable(const QLocale& locale) {
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : locale;
}
} // namespace

ListOrder::ListOrder(const QLocale& locale) : collator_(readable(locale)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}
