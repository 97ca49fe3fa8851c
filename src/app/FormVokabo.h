#pragma once

#include "platform/NotifyIcon.h"
#include "quiz/FormSoru.h"
#include "words/ModVokabo.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class BarButton;
class ClickLabel;
class FormProgress;
class QAction;
class QLabel;
class QListView;
class QMenu;
class QTimer;
class SettingsRecord;
class SingleInstance;
class TryIcn;
class WordListModel;

// The main window: it starts the program, shows the word list, lives on in
// the notification area while hidden, and ends the program when it unloads.
class FormVokabo : public QWidget, public ModVokabo::WordListView, public QuestionHost {
    Q_OBJECT
public:
    // commandLine: the program's arguments as one text ("-o" starts hidden).
    // tray: the notification area the icon goes to.
    // settings: the program's settings record, which the window reads and
    // follows.
    FormVokabo(const QString& commandLine, SettingsRecord& settings,
               std::unique_ptr<NotifyIcon::Layer> tray = NotifyIcon::createLayer(),
               QWidget* parent = nullptr);
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

    // --- The list panel ---
    void LabelAktif_Click(int Index);
    void List1_Click();
    void List1_DblClick();
    void List1_KeyUp(int KeyCode);
    void DeleteSelectedWord();
    void ToggleSelectedWord();
    // The lines of List1 and the current one (-1: none).
    int lineCount() const;
    QString lineText(int line) const;
    int lineRecord(int line) const;
    int currentLine() const;
    void setCurrentLine(int line);

    // --- The button bar and the advert panel ---
    void Cmd_Click(int Index);
    void Cmd_MouseMove(int Index);
    void TimerBtn_Timer();
    void TimerBtnAnim_Timer();
    void DrawButton(int i);
    bool IsCursorOver(const QWidget* control) const;
    void ShowNewWordDialog();
    void ShowSettingsDialog();
    void ShowHelpWindow();
    void ImageAd_Click();
    BarButton* barButton(int Index) const { return Cmd[Index]; }

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
    // Shows the window as the command line asks, once Form_Load has run:
    // hidden in the tray with "-o", minimised instead where there is no tray.
    void showAsStarted();
    // Hidden into the tray by Esc or by minimising: the window counts as
    // minimised until it is restored.
    bool minimisedToTray() const { return minimisedToTray_; }
    bool hasEnded() const { return ended_; }

    void showWordList(const QString& caption, QList<ModVokabo::ListLine> lines) override;

    QListView* List1;
    QLabel* LabelTur;
    std::array<ClickLabel*, 2> LabelAktif;
    QLabel* LabelEmpty;
    QWidget* Line1;
    QWidget* Line2;
    QWidget* FrameAd;
    ClickLabel* ImageAd;
    QLabel* Label1;
    QLabel* Label2;
    QTimer* TimerBtn;
    QTimer* TimerBtnAnim;
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildButtonBar();
    void buildListPanel();
    void buildAdvertPanel();
    void PlaceTabCover();
    void setTabLook(int Index, bool selected);
    // Runs an edit of the current line (a deletion or a move) and makes the
    // right line current afterwards.
    void changeSelectedWord(const std::function<bool(int record)>& change);
    void LoadSettings();
    void storePlacement();
    void hideToTray();
    // Minimising hides into the tray where there is one; without one, the
    // window minimises as any window does and stays within reach.
    void minimiseAway();
    void trayAvailabilityChanged();
    void tellNoTray();
    bool saveWords();
    void reportUnreadableWordFile(const ModVokabo::FileOutcome& outcome);

    QString commandLine_;
    SettingsRecord& settings_;
    QWidget* Frame1;
    std::array<BarButton*, 7> Cmd;
    WordListModel* lines_;
    FormProgress* progress_;
    std::unique_ptr<SingleInstance> instance_;
    bool LayoutReady = false;
    bool refused_ = false;
    bool unloading_ = false;
    bool ended_ = false;
    bool startHidden_ = false;
    bool minimisedToTray_ = false;
    bool trayAvailable_ = true;
    bool noTrayTold_ = false;
    QPoint placeBeforeHiding_;
    bool shutdownRequested_ = false;
    QPointer<FormSoru> FormSoru_;

    // The hover effect of the bar: the highlighted button, and the step of
    // its pulse (pixels smaller than the picture's 32).
    BarButton* HoverCtl = nullptr;
    bool Hovering = false;
    int AnimStep = 0;
    bool AnimCountUp = true;
};
