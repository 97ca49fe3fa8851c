#include "settings/Settings.h"

#include "settings/ModRegistry.h"

#include <algorithm>
#include <cmath>

namespace Settings {

namespace {
std::optional<qint64> wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

void assign(const Setting& setting, qint16 v) {
    if (setting.flag)
        *setting.flag = v != 0;
    else
        *setting.number = v;
}
} // namespace

qint16 clamped(const Setting& setting, qint64 value) {
    return static_cast<qint16>(std::clamp<qint64>(value, setting.min, setting.max));
}

qint16 fromText(const Setting& setting, const QString& text) {
    switch (setting.format) {
    case Format::Letter:
        return text == u"E" ? 1 : 0;
    case Format::Choice:
        for (qint16 v = setting.min; v <= setting.max; ++v)
            if (text == QString::number(v))
                return v;
        return setting.defaultValue;
    case Format::Decimal:
        break;
    }
    const std::optional<qint64> number = wholeNumber(text);
    return number ? clamped(setting, *number) : setting.defaultValue;
}

QString toText(const Setting& setting, qint64 value) {
    if (setting.format == Format::Letter)
        return value ? QStringLiteral("E") : QStringLiteral("H");
    return QString::number(value);
}

qint16 value(const Setting& setting) {
    return setting.flag ? qint16(*setting.flag) : *setting.number;
}

void store(const Setting& setting, qint64 newValue) {
    const qint16 v = clamped(setting, newValue);
    assign(setting, v);
    writeStored(setting.name, toText(setting, v));
}

QString readStored(const char* name) {
    return ModRegistry::ReadRegValue(ModRegistry::RegRoot::HKEY_LOCAL_MACHINE,
                                     ModRegistry::VokaboKey, QString::fromLatin1(name));
}

void writeStored(const char* name, const QString& text) {
    ModRegistry::WriteRegValue(ModRegistry::RegRoot::HKEY_LOCAL_MACHINE, ModRegistry::VokaboKey,
                               QString::fromLatin1(name), ModRegistry::REG_SZ, text);
}

void LoadSettingsRecord() {
    for (const Setting* setting : AllSettings)
        assign(*setting, fromText(*setting, readStored(setting->name)));
}

std::optional<PackedPair> unpackPair(const QString& text) {
    const std::optional<qint64> value = wholeNumber(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return std::nullopt;
    const qint64 high = static_cast<qint64>(std::floor(static_cast<double>(*value) / 65536.0));
    return PackedPair{high, *value - 65536 * high};
}

QString packPair(double high, double low) {
    high = std::clamp(high, 0.0, 32767.0);
    low = std::clamp(low, 0.0, 65535.0);
    return QString::number(std::llrint(65536.0 * high + low));
}

void resetState() {
    for (const Setting* setting : AllSettings)
        assign(*setting, 0);
}

} // namespace Settings
