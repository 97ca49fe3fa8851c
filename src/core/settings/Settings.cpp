#include "settings/Settings.h"

#include "settings/ModRegistry.h"

#include <algorithm>
#include <cmath>

namespace Settings {

static_assert(
    [] {
        for (std::size_t i = 0; i < AllSettings.size(); ++i)
            if (AllSettings[i]->slot != static_cast<int>(i))
                return false;
        return true;
    }(),
    "a setting's slot is its place in AllSettings");

namespace {
std::optional<qint64> wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}
} // namespace

qint64 clamped(const Setting& setting, qint64 value) {
    return std::clamp<qint64>(value, setting.min, setting.max);
}

qint64 fromText(const Setting& setting, const QString& text) {
    switch (setting.format) {
    case Format::Letter:
        return text == u"E" ? 1 : 0;
    case Format::Moment: {
        // Only a moment that names its offset: a local time would move with
        // the time zone.
        const QDateTime moment = QDateTime::fromString(text.trimmed(), Qt::ISODate);
        if (!moment.isValid() || moment.timeSpec() == Qt::LocalTime)
            return setting.defaultValue;
        return clamped(setting, moment.toSecsSinceEpoch());
    }
    case Format::Language: {
        const QLocale::Language language = QLocale::codeToLanguage(text.trimmed());
        return language == QLocale::AnyLanguage ? setting.defaultValue : clamped(setting, language);
    }
    case Format::Choice:
        for (qint64 v = setting.min; v <= setting.max; ++v)
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
    if (setting.format == Format::Language)
        return QLocale::languageToCode(QLocale::Language(value));
    if (setting.format == Format::Moment)
        return value == 0 ? QString()
                          : QDateTime::fromSecsSinceEpoch(value, Qt::UTC).toString(Qt::ISODate);
    return QString::number(value);
}

QString readStored(const char* name) {
    return ModRegistry::ReadRegValue(ModRegistry::RegRoot::HKEY_LOCAL_MACHINE,
                                     ModRegistry::VokaboKey, QString::fromLatin1(name));
}

bool writeStored(const char* name, const QString& text) {
    return ModRegistry::WriteRegValue(ModRegistry::RegRoot::HKEY_LOCAL_MACHINE,
                                      ModRegistry::VokaboKey, QString::fromLatin1(name),
                                      ModRegistry::REG_SZ, text);
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

} // namespace Settings

void SettingsRecord::LoadSettingsRecord() {
    for (const Settings::Setting* setting : Settings::AllSettings)
        assign(*setting, Settings::fromText(*setting, Settings::readStored(setting->name)));
}

QDateTime SettingsRecord::duraklat() const {
    const qint64 until = value(Settings::DuraklatSetting);
    return until == 0 ? QDateTime() : QDateTime::fromSecsSinceEpoch(until);
}

bool SettingsRecord::store(const Settings::Setting& setting, qint64 newValue) {
    const qint64 v = Settings::clamped(setting, newValue);
    const bool stored = Settings::writeStored(setting.name, Settings::toText(setting, v));
    assign(setting, v);
    return stored;
}

void SettingsRecord::assign(const Settings::Setting& setting, qint64 v) {
    if (setting.format == Settings::Format::Letter)
        v = v != 0;
    if (values_[setting.slot] == v)
        return;
    values_[setting.slot] = v;
    emit changed(&setting);
}
