#pragma once

#include "quiz/FormSoru.h"
#include "words/ModVokabo.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

class FormProgress;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;
class SingleInstance;
class TryIcn;

// The main window: it starts the program, shows the word list, lives on in
// the notification area while hidden, and ends the program when it unloads.
class FormVokabo : public QWidget, public ModVokabo::WordListView, public QuestionHost {
    Q_OBJECT
public:
    // commandLine: the program's arguments as one text ("-o" starts hidden).
    explicit FormVokabo(const QString& commandLine, QWidget* parent = nullptr);
    ~FormVokabo() override;

    // Start-up. False when another copy already runs; the program then ends.
    bool Form_Load();
    // Shut-down. False when the user chose to keep the program running
    // because the words could not be saved.
    bool Form_Unload();

    // Ends the program as "Çıkış" does, wherever the request comes from (the
    // tray menu, a signal, the end of the session): open dialogs and message
    // boxes are closed first, and the shut-down runs once their own event
    // loops have returned.
    void requestShutdown();

    void Form_KeyPress(int KeyAscii);
    void Form_Resize();
    void mnu_Ac_Click();
    void mnu_Cikis_Click();
    void mnu_VokaboSor_Click();
    void mnu_YeniVokabo_Click();
    void TimerSor_Timer();
    // Composes a question from the active words and opens its window; does
    // nothing when there are too few words.
    void SoruHazirla();
    // The word dialog, modal; edit mode works on line Index of List1.
    void showWordDialog(bool edit, int Index = -1);

    // The open question window, if any.
    FormSoru* questionWindow() const { return FormSoru_; }

    // What the question window needs from here.
    void startQuestionTimer() override;
    void setAskCommandEnabled(bool enabled) override;
    void setSonSoru(const QDateTime& when) override { SonSoru = when; }
    QIcon programIcon() const override { return windowIcon(); }

    // When the last question ended; 0 (invalid) means a question is due.
    QDateTime SonSoru;

    bool startedHidden() const { return startHidden_; }
    // Hidden into the tray by Esc or by minimising: the window counts as
    // minimised until it is restored.
    bool minimisedToTray() const { return minimisedToTray_; }
    bool hasEnded() const { return ended_; }

    void showWordList(const QString& caption, const QList<ModVokabo::ListLine>& lines) override;

    QListWidget* List1;
    QLabel* LabelTur;
    QTimer* TimerSor;
    TryIcn* TryIcn1;
    QMenu* popMenu;
    QAction* mnu_YeniVokabo;
    QAction* mnu_VokaboSor;
    QAction* mnu_Ac;
    QAction* mnu_Cikis;

signals:
    void ended();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadSettings();
    void storePlacement();
    void hideToTray();
    bool saveWords();
    void reportUnreadableWordFile(const ModVokabo::FileOutcome& outcome);

    QString commandLine_;
    QWidget* Frame1;
    QWidget* FrameAd;
    FormProgress* progress_;
    std::unique_ptr<SingleInstance> instance_;
    bool LayoutReady = false;
    bool refused_ = false;
    bool unloading_ = false;
    bool ended_ = false;
    bool startHidden_ = false;
    bool minimisedToTray_ = false;
    QPoint placeBeforeHiding_;
    bool shutdownRequested_ = false;
    QPointer<FormSoru> FormSoru_;
};
