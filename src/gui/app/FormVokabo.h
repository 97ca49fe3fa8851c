#pragma once

#include "history/AnswerHistory.h"
#include "platform/LockFiles.h"
#include "platform/NotifyIcon.h"
#include "platform/UserBusy.h"
#include "quiz/FormSoru.h"
#include "words/ModVokabo.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <span>

class AdvertPanel;
class SaveSoon;
class ButtonBar;
class ClockJumps;
class FormIlerleme;
class FormProgress;
class PauseMenu;
namespace Quiz {
class WordMemories;
}
class QuestionScheduler;
class QAction;
class QMenu;
class SettingsRecord;
class SingleInstance;
class Speech;
class TryIcn;
class WordListPanel;

// The main window: it starts the program, shows the word list, lives on in
// the notification area while hidden, and ends the program when it unloads.
// Its three panels (the button bar, the word list, the advert) report what
// the user does there; the window carries it out.
class FormVokabo : public QWidget, public QuestionHost {
    Q_OBJECT
public:
    // commandLine: the program's arguments as one text ("-o" starts hidden).
    // tray: the notification area the icon goes to.
    // settings: the program's settings record, which the window reads and
    // follows. words: the word store, which the window loads, shows, changes
    // and saves. history: the answer history, which the window opens once it
    // is sure to be the only copy, and which the questions write to.
    // speech: reads words aloud in the windows that offer it.
    // busy: tells when a due question should wait for the user, and when a
    // question must not be read aloud.
    FormVokabo(const QString& commandLine, SettingsRecord& settings, ModVokabo::WordStore& words,
               History::AnswerHistory& history, Speech& speech,
               std::unique_ptr<NotifyIcon::Layer> tray = NotifyIcon::createLayer(),
               std::unique_ptr<UserBusy> busy = createUserBusy(), QWidget* parent = nullptr);
    ~FormVokabo() override;

    // Start-up (FormVokaboLifecycle.cpp). False when another copy already
    // runs; the program then ends, and the copy that runs comes forward
    // (startupId: this start's start-up notification id, which lets the
    // desktop activate its window). started() says when it is done: at once
    // for a word file read within a moment, else once it is read.
    bool Form_Load(const QByteArray& startupId = {});
    // Shut-down. True once the program has ended (ended() said so); false
    // when the user chose to keep the program running because the words
    // could not be saved, or while a long save still runs (ended() follows).
    bool Form_Unload();

    // Who asks the program to end: the user ("Çıkış"), or the system (a
    // signal, the end of the session), which waits for nobody's answer.
    enum class EndedBy { User, System };
    // Ends the program as "Çıkış" does, wherever the request comes from: open
    // dialogs and message boxes are closed first, and the shut-down runs once
    // their own event loops have returned. For the system no box waits for
    // an answer: words that cannot be saved go to a rescue copy.
    void requestShutdown(EndedBy by = EndedBy::User);

    // The tray menu's commands. "Vokabo Sor" asks at once.
    void mnu_Ac_Click();
    void mnu_Cikis_Click();
    void mnu_VokaboSor_Click();
    void mnu_YeniVokabo_Click();
    // The progress window; opened once, brought forward after.
    void mnu_Ilerleme_Click();
    // The scheduler says a question is due: it opens, if it still is.
    void askIfDue();
    // Composes a question from the active words and opens its window; does
    // nothing when there are too few words.
    void SoruHazirla();

    // The open question window, if any.
    FormSoru* questionWindow() const { return FormSoru_; }
    // A question window is open and has not begun to close.
    bool questionOpen() const;

    // What the question window needs from here.
    void startQuestionTimer() override;
    void setAskCommandEnabled(bool enabled) override;
    void setSonSoru(const QDateTime& when) override;
    void answeringGoesOn() override;
    Quiz::Series& series() override { return series_; }
    QIcon programIcon() const override { return windowIcon(); }

    // Words from files, as the list's context menu and a drop bring them:
    // each file is previewed, and "Ekle" adds its new words.
    void ImportWords();
    void importFiles(const QStringList& paths);
    // The list's context menu: the shown list, or both, to a file.
    void ExportWords();

    bool startedHidden() const { return startHidden_; }
    // Shows the window as the command line asks, once Form_Load has run:
    // hidden in the tray with "-o", minimised instead where there is no tray.
    void showAsStarted();
    // Hidden into the tray by Esc or by minimising: the window counts as
    // minimised until it is restored.
    bool minimisedToTray() const { return minimisedToTray_; }
    bool hasEnded() const { return stage_ == Stage::Ended; }

signals:
    void started();
    void ended();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Where the window's life stands: Ending from the moment an end is
    // asked for (no question opens then, no command runs) until Ended.
    enum class Stage { Created, Starting, Running, Ending, Ended };
    bool ending() const { return stage_ == Stage::Ending || stage_ == Stage::Ended; }

    // A step of the start-up or the shut-down: it lets the sequence go on,
    // stops it, or waits for work of its own, whose end runs the rest.
    enum class Next { Go, Wait, Stop };
    using Step = Next (FormVokabo::*)();
    struct Sequence {
        std::span<const Step> steps;
        std::size_t next = 0;
    };
    void run(Sequence& sequence);

    // The start-up, in this order.
    static const Step StartUp[];
    Next takeTheLock();
    Next seedRandom();
    Next loadWords();
    void wordsLoaded(const ModVokabo::FileOutcome& loaded);
    Next watchWordFile();
    Next applySettings();
    Next firstLayout();
    Next startTrayIcon();
    Next openHistory();
    Next readCommandLine();
    Next tellRescued();
    Next startQuestions();

    // The shut-down, in this order.
    static const Step ShutDown[];
    Next stopQuestions();
    Next keepPlacement();
    Next closeOwnWindows();
    Next saveAtEnd();
    Next removeTrayIcon();
    Next releaseLock();
    // The save at the end, and what its outcome leads to.
    void saveWords(ModVokabo::WordStore::OutsideChanges outside);
    void wordsSaved(quint64 save, const ModVokabo::FileOutcome& outcome);
    enum class AfterSave { Done, Again, KeepRunning };
    AfterSave afterSave(ModVokabo::FileOutcome outcome);
    // The words that cannot be saved at a shut-down nobody waits for.
    AfterSave rescueWords(const ModVokabo::FileOutcome& failed);
    // The user chose to keep the program when the words could not be saved.
    void keepRunning();

    void Form_KeyPress(int KeyAscii);
    void Form_Resize();
    // The bar's commands, by the index of their button.
    void Cmd_Click(int Index);
    void ShowNewWordDialog();
    void ShowSettingsDialog();
    void ShowHelpWindow();
    // The word dialog, modal; edit mode works on line Index of the list.
    void showWordDialog(bool edit, int Index = -1);
    void EditWord(int line);
    void DeleteSelectedWord();
    void ToggleSelectedWord();
    // ask: confirm with the user first. False when nothing changed.
    bool DeleteWordAsk(ModVokabo::WordListKind list, int index, bool ask);
    bool ToggleWordAsk(ModVokabo::WordListKind list, int index, bool ask);
    // Shows the list that holds the word and makes its line current.
    void selectWord(const QString& English, const QString& Turkish);
    // The advert's picture was clicked.
    void openHomePage();
    void LoadSettings();
    void storePlacement();
    void hideToTray();
    // Minimising hides into the tray where there is one; without one, the
    // window minimises as any window does and stays within reach.
    void minimiseAway();
    void trayAvailabilityChanged();
    void tellNoTray();
    // The one place where words from a file join the lists; the import can
    // be taken back until the lists change again.
    void addImportedWords(const ModVokabo::WordList& active, const ModVokabo::WordList& passive);
    void UndoLastImport();
    // The lock of another computer's copy: the user may take it over.
    bool takeOverAsked(const LockHolder& holder);
    void refuseStart(bool calledForward);
    // Another program changed the word file: it is read again, or, with
    // changes of the program's own not saved yet, the user chooses. A file
    // emptied or removed gets the program's words back; one that cannot be
    // read is left alone, and the words stay in the program.
    void wordFileChangedOutside(ModVokabo::WordStore::OnDisk what);
    // What the reload found: AsSeen when it read the file's words.
    ModVokabo::WordStore::OnDisk reloadWordFile();
    // What a load found that the user should know.
    void tellAboutLoad(const ModVokabo::FileOutcome& outcome);
    // True: the file's words; false: the program's.
    bool keepTheFilesWords();
    // Tells without stopping the user: a balloon at the tray icon, or a box
    // that waits for nothing where there is no tray.
    void tellQuietly(const QString& title, const QString& text);
    // Says until when the questions are paused, if they are.
    QString trayToolTip() const;
    void reportUnreadableWordFile(const ModVokabo::FileOutcome& outcome);

    QString commandLine_;
    SettingsRecord& settings_;
    ModVokabo::WordStore& words_;
    History::AnswerHistory& history_;
    Speech& speech_;
    ButtonBar* Frame1;
    WordListPanel* ListPanel;
    AdvertPanel* FrameAd;
    std::unique_ptr<UserBusy> busy_;
    QuestionScheduler* scheduler_;
    Quiz::WordMemories* memories_;
    ClockJumps* clockJumps_;
    TryIcn* TryIcn1;
    QMenu* popMenu;
    QAction* mnu_YeniVokabo;
    QAction* mnu_VokaboSor;
    PauseMenu* mnu_Duraklat;
    QAction* mnu_Ilerleme;
    QAction* mnu_Ac;
    QAction* mnu_Cikis;
    FormProgress* progress_;
    SaveSoon* saveSoon_;
    Stage stage_ = Stage::Created;
    Sequence startUp_;
    Sequence shutDown_;
    QByteArray startupId_;
    EndedBy endedBy_ = EndedBy::User;
    // What the save at the end does with a file changed by another program.
    ModVokabo::WordStore::OutsideChanges endSave_ = ModVokabo::WordStore::OutsideChanges::Keep;
    // The number of the save at the end; other saves are the saver's.
    quint64 endSaveNumber_ = 0;
    // What the last import added, while it can be taken back.
    ModVokabo::WordList importedActive_;
    ModVokabo::WordList importedPassive_;
    // A look at the word file waits for the open dialogs to close.
    bool outsideChangeWaits_ = false;
    bool unreadableTold_ = false;
    bool mixedTold_ = false;
    Quiz::Series series_;
    std::unique_ptr<SingleInstance> instance_;
    bool LayoutReady = false;
    bool startHidden_ = false;
    bool minimisedToTray_ = false;
    bool minimiseWhenMapped_ = false;
    bool trayAvailable_ = true;
    bool noTrayTold_ = false;
    QPoint placeBeforeHiding_;
    QPointer<FormSoru> FormSoru_;
    // The next question takes the keyboard: the learner answers a series
    // from it.
    bool nextTakesKeyboard_ = false;
    QPointer<FormIlerleme> FormIlerleme_;
};
