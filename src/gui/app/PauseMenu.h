#pragma once

#include <QMenu>

class QAction;
class SettingsRecord;

// The tray menu's "Soruları Duraklat": pauses the scheduled questions for a
// while, or until the next morning, and offers to go on while they are
// paused. The pause is a setting, so it outlives the program.
class PauseMenu : public QMenu {
    Q_OBJECT
public:
    PauseMenu(SettingsRecord& settings, QWidget* parent = nullptr);

signals:
    // The pause (or its end) holds for this run only: it could not be stored.
    void notStored();

private:
    void follow();

    SettingsRecord& settings_;
    QAction* resume_;
};
