#include "app/PauseMenu.h"

#include "app/Scheduler.h"
#include "platform/Clock.h"
#include "settings/Settings.h"

PauseMenu::PauseMenu(SettingsRecord& settings, QWidget* parent)
    : QMenu(QStringLiteral("Soruları Duraklat"), parent), settings_(settings) {
    setObjectName(QStringLiteral("mnu_Duraklat"));
    for (const Scheduler::Pause pause : Scheduler::AllPauses)
        connect(addAction(Scheduler::pauseText(pause)), &QAction::triggered, this, [this, pause] {
            if (!settings_.store(Settings::DuraklatSetting,
                                 Scheduler::pauseEnd(pause, Now()).toSecsSinceEpoch()))
                emit notStored();
        });
    addSeparator();
    resume_ = addAction(QStringLiteral("Sorulara Devam Et"));
    resume_->setObjectName(QStringLiteral("mnu_DevamEt"));
    connect(resume_, &QAction::triggered, this, [this] {
        if (!settings_.store(Settings::DuraklatSetting, 0))
            emit notStored();
    });
    connect(&settings_, &SettingsRecord::changed, this, [this](const Settings::Setting* setting) {
        if (setting == &Settings::DuraklatSetting)
            follow();
    });
    follow();
}

void PauseMenu::follow() {
    resume_->setVisible(settings_.duraklat().isValid());
}
