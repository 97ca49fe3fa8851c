#include "settings/LanguageNames.h"

#include <QCollator>
#include <QHash>
#include <algorithm>

namespace {
// The languages that speech services commonly have voices for.
const QHash<QLocale::Language, const char16_t*>& turkishNames() {
    using L = QLocale;
    static const QHash<QLocale::Language, const char16_t*> names{
        {L::Afrikaans, u"Afrikaanca"},
        {L::Albanian, u"Arnavutça"},
        {L::Amharic, u"Amharca"},
        {L::Arabic, u"Arapça"},
        {L::Aragonese, u"Aragonca"},
        {L::Armenian, u"Ermenice"},
        {L::Assamese, u"Assamca"},
        {L::Azerbaijani, u"Azerbaycan Türkçesi"},
        {L::Bangla, u"Bengalce"},
        {L::Bashkir, u"Başkurtça"},
        {L::Basque, u"Baskça"},
        {L::Belarusian, u"Belarusça"},
        {L::Bosnian, u"Boşnakça"},
        {L::Bulgarian, u"Bulgarca"},
        {L::Burmese, u"Birmanca"},
        {L::Cantonese, u"Kantonca"},
        {L::Catalan, u"Katalanca"},
        {L::Cherokee, u"Çerokice"},
        {L::Chinese, u"Çince"},
        {L::Chuvash, u"Çuvaşça"},
        {L::Croatian, u"Hırvatça"},
        {L::Czech, u"Çekçe"},
        {L::Danish, u"Danca"},
        {L::Dutch, u"Felemenkçe"},
        {L::English, u"İngilizce"},
        {L::Esperanto, u"Esperanto"},
        {L::Estonian, u"Estonca"},
        {L::Finnish, u"Fince"},
        {L::French, u"Fransızca"},
        {L::Gaelic, u"İskoç Gaelcesi"},
        {L::Georgian, u"Gürcüce"},
        {L::German, u"Almanca"},
        {L::Greek, u"Yunanca"},
        {L::Guarani, u"Guarani dili"},
        {L::Gujarati, u"Güceratça"},
        {L::Hawaiian, u"Hawaii dili"},
        {L::Hebrew, u"İbranice"},
        {L::Hindi, u"Hintçe"},
        {L::Hungarian, u"Macarca"},
        {L::Icelandic, u"İzlandaca"},
        {L::Indonesian, u"Endonezce"},
        {L::Irish, u"İrlandaca"},
        {L::Italian, u"İtalyanca"},
        {L::Japanese, u"Japonca"},
        {L::Kannada, u"Kannada dili"},
        {L::Kazakh, u"Kazakça"},
        {L::Korean, u"Korece"},
        {L::Kurdish, u"Kürtçe"},
        {L::Kyrgyz, u"Kırgızca"},
        {L::Latin, u"Latince"},
        {L::Latvian, u"Letonca"},
        {L::Lithuanian, u"Litvanca"},
        {L::Luxembourgish, u"Lüksemburgca"},
        {L::Macedonian, u"Makedonca"},
        {L::Malay, u"Malayca"},
        {L::Malayalam, u"Malayalam dili"},
        {L::Maltese, u"Maltaca"},
        {L::Maori, u"Maori dili"},
        {L::Marathi, u"Marathi dili"},
        {L::Nepali, u"Nepalce"},
        {L::NorwegianBokmal, u"Norveççe"},
        {L::Persian, u"Farsça"},
        {L::Polish, u"Lehçe"},
        {L::Portuguese, u"Portekizce"},
        {L::Punjabi, u"Pencapça"},
        {L::Romanian, u"Rumence"},
        {L::Russian, u"Rusça"},
        {L::Serbian, u"Sırpça"},
        {L::Sindhi, u"Sindhîce"},
        {L::Sinhala, u"Seylanca"},
        {L::Slovak, u"Slovakça"},
        {L::Slovenian, u"Slovence"},
        {L::Spanish, u"İspanyolca"},
        {L::Swahili, u"Svahili dili"},
        {L::Swedish, u"İsveççe"},
        {L::Tamil, u"Tamilce"},
        {L::Tatar, u"Tatarca"},
        {L::Telugu, u"Telugu dili"},
        {L::Thai, u"Tayca"},
        {L::Turkish, u"Türkçe"},
        {L::Turkmen, u"Türkmence"},
        {L::Ukrainian, u"Ukraynaca"},
        {L::Urdu, u"Urduca"},
        {L::Uyghur, u"Uygurca"},
        {L::Uzbek, u"Özbekçe"},
        {L::Vietnamese, u"Vietnamca"},
        {L::Welsh, u"Galce"},
    };
    return names;
}
} // namespace

QString languageName(QLocale::Language language) {
    if (const char16_t* name = turkishNames().value(language))
        return QString::fromUtf16(name);
    const QString own = QLocale(language).nativeLanguageName();
    return own.isEmpty() ? QLocale::languageToString(language) : own;
}

QList<QLocale::Language> sortedByName(QList<QLocale::Language> languages) {
    QCollator turkish{QLocale(QLocale::Turkish)};
    std::sort(languages.begin(), languages.end(), [&turkish](auto a, auto b) {
        return turkish.compare(languageName(a), languageName(b)) < 0;
    });
    return languages;
}
