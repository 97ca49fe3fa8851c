// The main window's start-up and shut-down: each an ordered list of steps.
// A step goes on to the next, stops the sequence, or waits for work of its
// own (the word file's load or save, on a thread of the word store's), whose
// end takes the sequence up again.

#include "app/FormVokabo.h"

#include "app/SaveSoon.h"
#include "app/Scheduler.h"
#include "app/WordListPanel.h"
#include "controls/TryIcn.h"
#include "history/FormIlerleme.h"
#include "platform/Activation.h"
#include "platform/Clock.h"
#include "platform/ModalLoops.h"
#include "platform/MsgBox.h"
#include "platform/SingleInstance.h"
#include "platform/Topmost.h"
#include "quiz/FormImg.h"
#include "quiz/Quiz.h"
#include "quiz/WordMemories.h"
#include "settings/Settings.h"
#include "words/FormProgress.h"

#include <QDir>
#include <cstdio>

const FormVokabo::Step FormVokabo::StartUp[] = {
    &FormVokabo::takeTheLock,     // one copy per word file: a second ends here
    &FormVokabo::seedRandom,      // the questions' draw, from the clock
    &FormVokabo::loadWords,       // waits for the word file on the store's thread
    &FormVokabo::watchWordFile,   // changes by other programs are noticed from now on
    &FormVokabo::applySettings,   // the window's place, always on top
    &FormVokabo::firstLayout,     // the first line current, the panels laid out
    &FormVokabo::startTrayIcon,   // the icon and its menu in the notification area
    &FormVokabo::openHistory,     // only the copy that runs touches the history
    &FormVokabo::readCommandLine, // "-o" starts hidden
    &FormVokabo::tellRescued,     // words a past shut-down could not save
    &FormVokabo::startQuestions,  // last: the scheduler, then started()
};

const FormVokabo::Step FormVokabo::ShutDown[] = {
    &FormVokabo::stopQuestions,   // first: no question opens, no save of its own starts
    &FormVokabo::keepPlacement,   // the window's place for the next start
    &FormVokabo::closeOwnWindows, // question, progress and picture windows
    &FormVokabo::saveAtEnd,       // waits for the save; may keep the program running
    &FormVokabo::removeTrayIcon,  // the icon leaves the notification area
    &FormVokabo::releaseLock,     // last: another copy may start, then ended()
};

void FormVokabo::run(Sequence& sequence) {
    while (sequence.next < sequence.steps.size()) {
        const Step step = sequence.steps[sequence.next++];
        if ((this->*step)() != Next::Go)
            return;
    }
}

bool FormVokabo::Form_Load(const QByteArray& startupId) {
    startupId_ = startupId;
    stage_ = Stage::Starting;
    startUp_ = {StartUp};
    run(startUp_);
    return stage_ != Stage::Ended;
}

FormVokabo::Next FormVokabo::takeTheLock() {
    instance_ = std::make_unique<SingleInstance>(words_.wordFilePath());
    SingleInstance::Outcome instance = instance_->tryAcquire();
    if (instance == SingleInstance::Outcome::HeldElsewhere && takeOverAsked(instance_->holder()))
        instance = instance_->takeOver();
    if (instance == SingleInstance::Outcome::Unavailable)
        std::fprintf(stderr,
                     "Vokabo Retano: cannot tell whether another copy runs (%s); starting "
                     "anyway.\n",
                     qPrintable(instance_->failure()));
    if (instance == SingleInstance::Outcome::HeldByAnotherCopy ||
        instance == SingleInstance::Outcome::HeldElsewhere) {
        refuseStart(instance == SingleInstance::Outcome::HeldByAnotherCopy &&
                    instance_->callRunningCopy(startupId_));
        return Next::Stop;
    }
    connect(instance_.get(), &SingleInstance::calledForward, this,
            [this](const QByteArray& startupId) {
                prepareActivation(this, startupId, [this] {
                    mnu_Ac_Click();
                    instance_->cameForward();
                });
            });
    return Next::Go;
}

FormVokabo::Next FormVokabo::seedRandom() {
    Randomize(static_cast<quint64>(Now().toMSecsSinceEpoch()));
    return Next::Go;
}

FormVokabo::Next FormVokabo::loadWords() {
    words_.loadInBackground();
    // A file read within a moment is waited for here, and the start-up goes
    // on at once; a larger one shows the progress window meanwhile.
    words_.finishFileWork(FormProgress::ShowAfterMs);
    return Next::Wait;
}

void FormVokabo::wordsLoaded(const ModVokabo::FileOutcome& loaded) {
    if (!loaded.ok)
        reportUnreadableWordFile(loaded);
    else
        tellAboutLoad(loaded);
    run(startUp_);
}

FormVokabo::Next FormVokabo::watchWordFile() {
    words_.watchWordFile();
    return Next::Go;
}

FormVokabo::Next FormVokabo::applySettings() {
    // The window exists on the screen's side before it is placed: placed
    // before it existed, a window started minimised is not brought back when
    // the task bar or a window switcher activates it (openbox).
    create();
    LoadSettings();
    if (settings_.ustte())
        setTopmost(this, true);
    connect(&settings_, &SettingsRecord::changed, this, [this](const Settings::Setting* setting) {
        if (setting == &Settings::UstteSetting)
            setTopmost(this, settings_.ustte());
        else if (setting == &Settings::DuraklatSetting) {
            TryIcn1->setToolTip(trayToolTip());
            TryIcn1->Modify();
        } else if (setting == &Settings::AkilliSetting && settings_.akilli())
            memories_->load();
    });
    return Next::Go;
}

FormVokabo::Next FormVokabo::firstLayout() {
    if (ListPanel->lineCount() > 0)
        ListPanel->setCurrentLine(0);
    // The keyboard starts in the word list, on its first line.
    ListPanel->focusList();
    LayoutReady = true;
    Form_Resize();
    return Next::Go;
}

FormVokabo::Next FormVokabo::startTrayIcon() {
    TryIcn1->setIcon(windowIcon());
    TryIcn1->setToolTip(trayToolTip());
    TryIcn1->setHostMenu(popMenu);
    TryIcn1->Start();
    trayAvailable_ = TryIcn1->TrayAvailable();
    connect(TryIcn1, &TryIcn::TrayAvailabilityChanged, this, &FormVokabo::trayAvailabilityChanged);
    return Next::Go;
}

FormVokabo::Next FormVokabo::openHistory() {
    // Only the one copy that runs may move a damaged history aside, and it
    // tells so at its tray icon.
    history_.open();
    if (settings_.akilli())
        memories_->load();
    return Next::Go;
}

FormVokabo::Next FormVokabo::readCommandLine() {
    startHidden_ = commandLine_ == u"-o";
    return Next::Go;
}

FormVokabo::Next FormVokabo::tellRescued() {
    // Words a shut-down could not save, kept since the word file was last
    // written.
    if (const QStringList rescued = words_.rescueCopies(); !rescued.isEmpty())
        tellQuietly(QStringLiteral("Kurtarılan vokaboler"),
                    QStringLiteral("Son çıkışta kaydedilemeyen vokaboler şu dosyada saklı:\n%1\n"
                                   "Listeye \"Dosyadan Vokabo Ekle…\" ile geri alınabilir.")
                        .arg(QDir::toNativeSeparators(rescued.last())));
    return Next::Go;
}

FormVokabo::Next FormVokabo::startQuestions() {
    // An end asked for meanwhile (a box of the start-up was open) runs once
    // its box has closed.
    if (stage_ != Stage::Starting)
        return Next::Stop;
    stage_ = Stage::Running;
    scheduler_->start();
    emit started();
    return Next::Go;
}

void FormVokabo::requestShutdown(EndedBy by) {
    if (by == EndedBy::System)
        endedBy_ = EndedBy::System;
    switch (stage_) {
    case Stage::Ended:
        return;
    case Stage::Ending:
        // A box of the shut-down itself may wait for an answer, or its save
        // may still run: the system waits for neither.
        if (by == EndedBy::System) {
            ModalLoops::closeAll();
            words_.finishFileWork();
            // The event loop may be gone before the dialogs' end could run
            // the shut-down: it runs now.
            if (shutDown_.next == 0 && ModalLoops::depth() == 0)
                Form_Unload();
        }
        return;
    case Stage::Starting:
        // The word file is read to its end first: the start-up then goes on
        // to its end, unless a box of its own is open.
        words_.finishFileWork();
        break;
    case Stage::Created:
    case Stage::Running:
        break;
    }
    stage_ = Stage::Ending;
    scheduler_->stop();
    if (ModalLoops::depth() > 0) {
        // Their windows are closed only once the dialogs' loops have
        // returned: a window deleted under a running dialog takes the
        // dialog with it while the dialog's loop still uses it.
        ModalLoops::closeAll();
        ModalLoops::whenAllClosed(this, [this] {
            if (Form_Unload())
                close();
        });
        return;
    }
    if (Form_Unload())
        close();
}

bool FormVokabo::Form_Unload() {
    if (stage_ == Stage::Ended)
        return true;
    // Under way already: it ends with ended(), or keeps the program.
    if (shutDown_.next > 0)
        return false;
    // A start-up that waits for the words goes to its end first.
    if (stage_ == Stage::Starting)
        words_.finishFileWork();
    stage_ = Stage::Ending;
    shutDown_ = {ShutDown};
    run(shutDown_);
    return stage_ == Stage::Ended;
}

FormVokabo::Next FormVokabo::stopQuestions() {
    // No question may open while the program ends, and the words are saved
    // here, once.
    scheduler_->stop();
    saveSoon_->hold(true);
    return Next::Go;
}

FormVokabo::Next FormVokabo::keepPlacement() {
    if (!minimisedToTray_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        storePlacement();
    return Next::Go;
}

FormVokabo::Next FormVokabo::closeOwnWindows() {
    if (FormSoru_)
        FormSoru_->close();
    if (FormIlerleme_)
        FormIlerleme_->close();
    FormImg::unload();
    return Next::Go;
}

FormVokabo::Next FormVokabo::saveAtEnd() {
    if (!words_.WordsChanged())
        return Next::Go;
    hide();
    saveWords(ModVokabo::WordStore::OutsideChanges::Keep);
    return Next::Wait;
}

void FormVokabo::saveWords(ModVokabo::WordStore::OutsideChanges outside) {
    endSave_ = outside;
    endSaveNumber_ = words_.saveInBackground(outside);
    // A save that ends within a moment is waited for here (the rest of the
    // shut-down may then have run already); a longer one shows the progress
    // window. The system's end waits for it to the end.
    words_.finishFileWork(endedBy_ == EndedBy::System ? -1 : FormProgress::ShowAfterMs);
}

void FormVokabo::wordsSaved(quint64 save, const ModVokabo::FileOutcome& outcome) {
    if (stage_ != Stage::Ending || save != endSaveNumber_)
        return;
    switch (afterSave(outcome)) {
    case AfterSave::Done:
        run(shutDown_);
        break;
    case AfterSave::Again:
        saveWords(endSave_);
        break;
    case AfterSave::KeepRunning:
        keepRunning();
        break;
    }
}

FormVokabo::AfterSave FormVokabo::afterSave(ModVokabo::FileOutcome outcome) {
    using ModVokabo::WordStore;
    if (outcome.ok)
        return AfterSave::Done;
    if (endedBy_ == EndedBy::System)
        return rescueWords(outcome);
    if (outcome.changedOnDisk) {
        // Looked at here and now: the program is ending.
        switch (words_.lookAtDiskNow()) {
        case WordStore::OnDisk::AsSeen:
            return AfterSave::Again;
        case WordStore::OnDisk::Emptied:
        case WordStore::OnDisk::Removed:
            endSave_ = WordStore::OutsideChanges::Overwrite;
            return AfterSave::Again;
        case WordStore::OnDisk::Changed:
            // Leaving with the file's words is leaving without saving.
            if (keepTheFilesWords() || endedBy_ == EndedBy::System)
                return endedBy_ == EndedBy::System ? rescueWords(outcome) : AfterSave::Done;
            endSave_ = WordStore::OutsideChanges::Overwrite;
            return AfterSave::Again;
        case WordStore::OnDisk::Unreadable:
            outcome.reason = QStringLiteral("Dosya şu anda okunamıyor; içinde ne olduğu "
                                            "bilinmeden üzerine yazılmıyor.");
            break;
        }
    }
    const QString failed =
        QStringLiteral("Vokaboler kaydedilemedi:\n%1\n\n%2\n\n").arg(outcome.path, outcome.reason);
    // Offer only what can work: a file that could not be read at start is
    // never written, however often the user tries.
    if (!outcome.retryMayHelp) {
        const bool leave =
            MsgBox(failed + QStringLiteral("Kaydetmeden çıkılsın mı? \"Hayır\" programı "
                                           "açık tutar."),
                   MsgBoxStyle::YesNo | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2,
                   QStringLiteral("Vokabo Retano")) == MsgBoxResult::Yes;
        if (endedBy_ == EndedBy::System)
            return rescueWords(outcome);
        return leave ? AfterSave::Done : AfterSave::KeepRunning;
    }
    const MsgBoxResult answer =
        MsgBox(failed + QStringLiteral("\"Tekrar Dene\" kaydetmeyi yeniden dener; \"Vazgeç\" "
                                       "programı açık tutar; \"Kaydetmeden Çık\" bu oturumdaki "
                                       "değişiklikleri bırakır."),
               MsgBoxStyle::AbortRetryIgnore | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2,
               QStringLiteral("Vokabo Retano"));
    // The system ended the program while the box was open.
    if (endedBy_ == EndedBy::System)
        return rescueWords(outcome);
    if (answer == MsgBoxResult::Ignore)
        return AfterSave::Done;
    if (answer == MsgBoxResult::Retry)
        return AfterSave::Again;
    return AfterSave::KeepRunning;
}

FormVokabo::AfterSave FormVokabo::rescueWords(const ModVokabo::FileOutcome& failed) {
    const QString rescued = words_.saveRescueCopy();
    // Nobody waits at a shut-down: the system's log is where this is read.
    std::fprintf(stderr, "Vokabo Retano: the words could not be saved in %s (%s); %s\n",
                 qPrintable(failed.path), qPrintable(failed.reason),
                 rescued.isEmpty()
                     ? "no rescue copy could be written either"
                     : qPrintable(QStringLiteral("they were written to %1").arg(rescued)));
    return AfterSave::Done;
}

void FormVokabo::keepRunning() {
    stage_ = Stage::Running;
    shutDown_ = {};
    mnu_Ac_Click();
    scheduler_->start();
    saveSoon_->hold(false);
}

FormVokabo::Next FormVokabo::removeTrayIcon() {
    TryIcn1->Remove();
    return Next::Go;
}

FormVokabo::Next FormVokabo::releaseLock() {
    instance_.reset();
    stage_ = Stage::Ended;
    emit ended();
    return Next::Go;
}
