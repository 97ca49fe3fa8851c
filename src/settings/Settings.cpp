#include "settings/Settings.h"

#include "settings/ModRegistry.h"

#include <algorithm>
#include <cmath>

namespace Settings {

qint16 SorDak = 0;
qint16 SecenekSay = 0;
bool oto_ac = false;
qint16 sor_tur = 0;
bool ustte = false;
qint16 enaz = 0;
qint16 sorusay = 0;

namespace {
std::optional<qint64> wholeNumber(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}
} // namespace

qint16 readNumber(const QString& text, const NumberSetting& setting) {
    if (text.isEmpty())
        return setting.defaultValue;
    const std::optional<qint64> value = wholeNumber(text);
    if (!value)
        return setting.defaultValue;
    return static_cast<qint16>(std::clamp<qint64>(*value, setting.min, setting.max));
}

bool readFlag(const QString& text) {
    return text == u"E";
}

qint16 readSorTur(const QString& text) {
    return text == u"2" ? 2 : 1;
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
    SorDak = readNumber(readStored(SorDakSetting.name), SorDakSetting);
    SecenekSay = readNumber(readStored(SecenekSaySetting.name), SecenekSaySetting);
    oto_ac = readFlag(readStored(OtoAcName));
    sor_tur = readSorTur(readStored(SorTurName));
    ustte = readFlag(readStored(UstteName));
    enaz = readNumber(readStored(EnazSetting.name), EnazSetting);
    sorusay = readNumber(readStored(SorusaySetting.name), SorusaySetting);
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
    SorDak = SecenekSay = sor_tur = enaz = sorusay = 0;
    oto_ac = ustte = false;
}

} // namespace Settings
