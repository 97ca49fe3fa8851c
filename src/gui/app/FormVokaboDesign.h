#pragma once

#include "quiz/art/Artwork.h"

#include <QColor>
#include <QCursor>
#include <QSize>
#include <QString>

// The main window's designed look, in pixels, shared by the files that
// build and lay it out.
namespace FormVokaboDesign {

inline const QColor BarColour(215, 217, 255);   // &HFFD9D7: the window and its bar
inline const QColor StripColour(128, 128, 255); // &HFF8080: the title strip, the open tab
inline const QColor LineColour(192, 192, 192);  // &HC0C0C0: the bar's separators
inline const QColor AdvertColour(0, 0, 0);
inline const QColor AdvertCaptionColour(255, 0, 0); // &HFF

inline constexpr QSize DesignedClient(360, 394);
inline constexpr int BarHeight = 40;
inline constexpr int ButtonTop = 3;
inline constexpr int TitleTop = 40;
inline constexpr int TitleHeight = 18;
inline constexpr int ListTop = 59;
inline constexpr int AdHeight = 65;
// Line1 and the tabs follow the right edge only in windows wider than this.
inline constexpr int NarrowWidth = 360;
inline constexpr int Line1Narrow = 276;
inline constexpr int Line1FromRight = 84;
// Where Line1 stands in a window of that width; the tabs follow it.
inline constexpr int line1Left(int width) {
    return width > NarrowWidth ? width - Line1FromRight : Line1Narrow;
}
inline constexpr int Line2Left = 118;
inline constexpr int TabTop = 8;
inline constexpr int TabWidth = 33;
inline constexpr int TabGap = 3;
inline constexpr int TabOffset = 10; // from Line1
inline constexpr int SelectedTabHeight = 33;
inline constexpr int TabHeight = 20;
inline constexpr int TabCoverTop = 32;
inline constexpr QSize TabCoverSize(31, 17);
// The list keeps its height once the client area is lower than this.
inline constexpr int SmallestListHeight = 30;

// The bar's buttons: the index each has in the bar, and its left edge.
inline constexpr int NewWordButton = 0;
inline constexpr int DeleteButton = 1;
inline constexpr int SettingsButton = 2;
inline constexpr int AskButton = 3;
inline constexpr int HelpButton = 4;
inline constexpr int ToggleButton = 5;
inline constexpr int NewVersionButton = 6;
inline constexpr int ButtonLefts[7] = {3, 39, 128, 164, 236, 75, 200};
inline constexpr QSize PictureSize(32, 32);
// The pulse: how many pixels smaller than PictureSize the picture shrinks.
inline constexpr int PulseDepth = 16;
inline constexpr int PulseInterval = 30;
// How often a highlighted button looks whether the pointer has left it: at
// the screen's pace.
inline constexpr int HoverWatchInterval = 16;

// The advert panel's words: a title line in capitals and an invitation,
// and a caption that points at the picture.
inline const QString AdvertText =
    QStringLiteral("<b>ESKİ ARKADAŞLARINIZI BULUN</b><br>Kişi arama servisimize ücretsiz "
                   "kayıt olun.");
inline const QString AdvertCaption = QStringLiteral("\u25C4 RESME TIKLAYIN");

// The pointing hand over whatever takes a click: the bar's buttons, the tabs,
// the advert picture.
inline QCursor handCursor() {
    const QPoint hotSpot = Artwork::handHotSpot();
    return QCursor(Artwork::hand(), hotSpot.x(), hotSpot.y());
}

} // namespace FormVokaboDesign
