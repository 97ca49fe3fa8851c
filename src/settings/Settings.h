#pragma once

#include <QString>
#include <optional>

// The settings every window shares, filled once at start-up.
namespace Settings {

struct NumberSetting {
    const char* name;
    qint16 defaultValue;
    qint16 min;
    qint16 max;
};

// Every number setting once: its stored name, default and valid range.
inline constexpr NumberSetting SorDakSetting{"SorDak", 5, 0, 60};        // minutes; 0 = off
inline constexpr NumberSetting SecenekSaySetting{"SecenekSay", 4, 2, 9}; // answer choices
inline constexpr NumberSetting EnazSetting{"enaz", 0, 0, 10}; // right answers before retiring
inline constexpr NumberSetting SorusaySetting{"sorusay", 0, 0,
                                              10}; // questions a series; 0 = no limit
inline constexpr const char* OtoAcName = "oto_ac";
inline constexpr const char* SorTurName = "sor_tur";
inline constexpr const char* UstteName = "ustte";
inline constexpr const char* SonXYName = "SonXY";
inline constexpr const char* SonBoyName = "SonBoy";

extern qint16 SorDak;
extern qint16 SecenekSay;
extern bool oto_ac;
extern qint16 sor_tur; // 1 = word to meaning; 2 = both directions
extern bool ustte;
extern qint16 enaz;
extern qint16 sorusay;

// Stored text to value: empty gives the default, a number outside the range
// the nearest valid value, anything that is not a whole number the default.
qint16 readNumber(const QString& text, const NumberSetting& setting);
// "E" (exactly) is true.
bool readFlag(const QString& text);
// "2" (exactly) is 2, everything else 1.
qint16 readSorTur(const QString& text);

QString readStored(const char* name);
void writeStored(const char* name, const QString& text);

// Reads every setting in its fixed order, after the placement values.
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

void resetState();

} // namespace Settings
