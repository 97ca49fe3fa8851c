#include "platform/WebPage.h"

#include <QDesktopServices>
#include <QUrl>

void openWebPage(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}
