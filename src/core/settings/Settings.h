#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <array>
#include <optional>

// The settings: how each is kept, and the helpers of the registry store.
// Their values while the program runs belong to a SettingsRecord.
namespace Settings {

// How a setting is kept as stored text.
enum class Format {
    Decimal,  // decimal digits; read back clamped to the range, the default when not a number
    Choice,   // decimal digits; only a text naming a value of the range exactly, else the default
    Letter,   // "E" for true, "H" for false; only "E" (exactly) reads as true
    Moment,   // a moment as ISO 8601 text in UTC, held as seconds since 1970; empty for none (0)
    Language, // a language's ISO 639 code ("en"), held as a QLocale::Language; else the default
};

struct Setting {
    const char* name; // the stored value's name
    Format format;
    qint64 defaultValue;
    qint64 min;
    qint64 max;
    int slot; // its place in AllSettings
};

// Every setting once.
inline constexpr Setting SorDakSetting{"SorDak", Format::Decimal, 5, 0, 60, 0};
inline constexpr Setting SecenekSaySetting{"SecenekSay", Format::Decimal, 4, 2, 9, 1};
inline constexpr Setting OtoAcSetting{"oto_ac", Format::Letter, 0, 0, 1, 2};
inline constexpr Setting SorTurSetting{"sor_tur", Format::Choice, 1, 1, 2, 3};
inline constexpr Setting UstteSetting{"ustte", Format::Letter, 0, 0, 1, 4};
inline constexpr Setting EnazSetting{"enaz", Format::Decimal, 0, 0, 10, 5};
inline constexpr Setting SorusaySetting{"sorusay", Format::Decimal, 0, 0, 10, 6};
// Until when scheduled questions are paused (0: they are not); the last
// second of year 9999 at most.
inline constexpr Setting DuraklatSetting{"duraklat", Format::Moment, 0, 0, 253402300799, 7};
// Whether a question's text is read aloud when its window opens.
inline constexpr Setting SeslendirSetting{"seslendir", Format::Letter, 0, 0, 1, 8};
// The language of the foreign words, whose voice reads them.
inline constexpr Setting DilSetting{
    "dil", Format::Language, QLocale::English, QLocale::Abkhazian, QLocale::LastLanguage, 9};
// Whether the asked word is chosen by what the learner's answers show he
// holds, instead of drawn blindly.
inline constexpr Setting AkilliSetting{"akilli", Format::Letter, 0, 0, 1, 10};

// In the order they are read at start-up.
inline constexpr std::array<const Setting*, 11> AllSettings{
    &SorDakSetting,    &SecenekSaySetting, &OtoAcSetting,   &SorTurSetting,
    &UstteSetting,     &EnazSetting,       &SorusaySetting, &DuraklatSetting,
    &SeslendirSetting, &DilSetting,        &AkilliSetting};

// The main window's placement, kept beside the settings.
inline constexpr const char* SonXYName = "SonXY";
inline constexpr const char* SonBoyName = "SonBoy";

// The nearest value in the setting's range.
qint64 clamped(const Setting& setting, qint64 value);
// Stored text to value (flags as 0 or 1); empty text gives the default.
qint64 fromText(const Setting& setting, const QString& text);
// Value to the text that is stored.
QString toText(const Setting& setting, qint64 value);

QString readStored(const char* name);
// False when the store could not be written.
bool writeStored(const char* name, const QString& text);

// Two window coordinates packed into one number: 65536 × high + low.
struct PackedPair {
    qint64 high;
    qint64 low;
};
// Nullopt for empty text, or text that is not a 32-bit whole number.
std::optional<PackedPair> unpackPair(const QString& text);
// The nearest 32-bit whole number to 65536 × high + low. Values that cannot
// come back unchanged are first brought into 0..32767 (high) and 0..65535
// (low), so a window partly off the top or left edge returns at that edge.
QString packPair(double high, double low);

} // namespace Settings

// The settings record: the one owner of the settings' values while the
// program runs, created in main and handed to the windows that read them.
// A value changes only through store(), which keeps it and tells who
// follows it.
class SettingsRecord : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Reads every setting in its fixed order; all are zero before.
    void LoadSettingsRecord();
    // The value (flags as 0 or 1, moments in seconds since 1970).
    qint64 value(const Settings::Setting& setting) const { return values_[setting.slot]; }
    // Sets the value, brought into range, and stores it. False when it could
    // not be stored: the value holds for this run only.
    bool store(const Settings::Setting& setting, qint64 value);

    qint16 SorDak() const { return small(Settings::SorDakSetting); }
    qint16 SecenekSay() const { return small(Settings::SecenekSaySetting); }
    bool oto_ac() const { return value(Settings::OtoAcSetting) != 0; }
    qint16 sor_tur() const { return small(Settings::SorTurSetting); }
    bool ustte() const { return value(Settings::UstteSetting) != 0; }
    qint16 enaz() const { return small(Settings::EnazSetting); }
    qint16 sorusay() const { return small(Settings::SorusaySetting); }
    // Until when scheduled questions are paused; invalid when they are not.
    QDateTime duraklat() const;
    bool seslendir() const { return value(Settings::SeslendirSetting) != 0; }
    QLocale::Language dil() const { return QLocale::Language(value(Settings::DilSetting)); }
    bool akilli() const { return value(Settings::AkilliSetting) != 0; }

signals:
    // A value is not what it was.
    void changed(const Settings::Setting* setting);

private:
    // The settings whose ranges are those of 16-bit numbers.
    qint16 small(const Settings::Setting& setting) const {
        return static_cast<qint16>(value(setting));
    }
    void assign(const Settings::Setting& setting, qint64 value);

    std::array<qint64, Settings::AllSettings.size()> values_{};
};
