#pragma once

#include <QString>
#include <array>
#include <optional>

// The settings every window shares, filled once at start-up.
namespace Settings {

// The settings record, in memory. All zero until LoadSettingsRecord().
inline qint16 SorDak = 0;     // minutes between scheduled questions; 0 = off
inline qint16 SecenekSay = 0; // answer choices of a question
inline bool oto_ac = false;   // the program starts when the user logs on
inline qint16 sor_tur = 0;    // 1 = word to meaning; 2 = both directions
inline bool ustte = false;    // the main window stays on top
inline qint16 enaz = 0;       // right answers in a row before a word may be retired
inline qint16 sorusay = 0;    // questions in one series; 0 = no limit

// How a setting is kept as stored text.
enum class Format {
    Decimal, // decimal digits; read back clamped to the range, the default when not a number
    Choice,  // decimal digits; only a text naming a value of the range exactly, else the default
    Letter,  // "E" for true, "H" for false; only "E" (exactly) reads as true
};

struct Setting {
    const char* name; // the stored value's name
    Format format;
    qint16 defaultValue;
    qint16 min;
    qint16 max;
    qint16* number = nullptr; // the value in memory (Decimal, Choice)
    bool* flag = nullptr;     // the value in memory (Letter)
};

// Every setting once.
inline constexpr Setting SorDakSetting{"SorDak", Format::Decimal, 5, 0, 60, &SorDak};
inline constexpr Setting SecenekSaySetting{"SecenekSay", Format::Decimal, 4, 2, 9, &SecenekSay};
inline constexpr Setting OtoAcSetting{"oto_ac", Format::Letter, 0, 0, 1, nullptr, &oto_ac};
inline constexpr Setting SorTurSetting{"sor_tur", Format::Choice, 1, 1, 2, &sor_tur};
inline constexpr Setting UstteSetting{"ustte", Format::Letter, 0, 0, 1, nullptr, &ustte};
inline constexpr Setting EnazSetting{"enaz", Format::Decimal, 0, 0, 10, &enaz};
inline constexpr Setting SorusaySetting{"sorusay", Format::Decimal, 0, 0, 10, &sorusay};

// In the order they are read at start-up.
inline constexpr std::array<const Setting*, 7> AllSettings{
    &SorDakSetting, &SecenekSaySetting, &OtoAcSetting,  &SorTurSetting,
    &UstteSetting,  &EnazSetting,       &SorusaySetting};

// The main window's placement, kept beside the settings.
inline constexpr const char* SonXYName = "SonXY";
inline constexpr const char* SonBoyName = "SonBoy";

// The nearest value in the setting's range.
qint16 clamped(const Setting& setting, qint64 value);
// Stored text to value (flags as 0 or 1); empty text gives the default.
qint16 fromText(const Setting& setting, const QString& text);
// Value to the text that is stored.
QString toText(const Setting& setting, qint64 value);

// The value in memory (flags as 0 or 1).
qint16 value(const Setting& setting);
// Sets the value in memory, brought into range, and stores it.
void store(const Setting& setting, qint64 value);

QString readStored(const char* name);
void writeStored(const char* name, const QString& text);

// Reads every setting in its fixed order.
void LoadSettingsRecord();

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

// Every value back to zero or false, as before start-up.
void resetState();

} // namespace Settings
