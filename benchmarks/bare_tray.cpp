// The yardstick for bench_startup: about the least a Qt Widgets tray program
// is, with what Vokabo Retano has in the same places: a window with a list,
// a tray icon and a timer that ticks every 100 ms.

#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt tray program"));
    auto* list = new QListWidget;
    for (int i = 1; i <= 100; ++i)
        list->addItem(QStringLiteral("word %1").arg(i));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(list);
    window.resize(360, 394);

    QPixmap picture(22, 22);
    picture.fill(QColor(75, 63, 184));
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip(window.windowTitle());
    tray.show();

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(100);

    window.show();
    return QApplication::exec();
}
