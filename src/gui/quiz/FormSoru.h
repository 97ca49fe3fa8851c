#pragma once

#include <QCursor>
#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <optional>

#include "quiz/Quiz.h"
#include "words/WordDef.h"

namespace ModVokabo {
class WordStore;
}
namespace History {
class AnswerHistory;
}

class QLabel;
class QTimer;
class QToolButton;
class ClickLabel;
class SpeakerButton;

class SettingsRecord;
class Speech;

// What the question window needs from the main window.
class QuestionHost {
public:
    virtual ~QuestionHost() = default;
    virtual void startQuestionTimer() = 0;
    virtual void setAskCommandEnabled(bool enabled) = 0;
    virtual void setSonSoru(const QDateTime& SonSoru) = 0;
    // The question closes with the next of its series due at once, and the
    // learner was answering in it: that one may take the keyboard.
    virtual void answeringGoesOn() {}
    virtual QIcon programIcon() const = 0;
    // The series the question belongs to.
    virtual Quiz::Series& series() = 0;
};

// The small topmost window that asks one word: the character speaks the
// question in a balloon, the answers wait under a cover, and the verdict
// shows on the answers and on the OK button. It is built for one question
// and deleted when it closes.
class FormSoru : public QWidget {
    Q_OBJECT
public:
    // Asks question, drawn from the active list of words, where the answer's
    // count goes; settings tell the series length, the count a word needs
    // before it may be retired and the words' language, in whose voice speech
    // reads the foreign word. Every answer goes into history as it is judged.
    // parent: the window that owns it and deletes it when it goes first.
    FormSoru(const Quiz::Question& question, QuestionHost* host, const SettingsRecord& settings,
             ModVokabo::WordStore& words, History::AnswerHistory& history, Speech& speech,
             QWidget* parent = nullptr);
    ~FormSoru() override;

    // Loads the window and puts it on top of all others without taking the
    // keyboard from the program the user is working in, unless takeKeyboard:
    // the learner answers a series from the keyboard already.
    void open(bool takeKeyboard = false);
    // Until its closing has begun.
    bool isOpen() const { return !unloaded_; }

    void Form_Load();
    void Form_Activate();
    void Form_KeyPress(int KeyAscii);
    void Form_Unload();
    void LblOrtu_Click();
    void ImgQuestionMark_Click();
    void LblCevap_MouseMove(int Index);
    void LblCevap_Click(int Index);
    void TimerAnm_Timer();
    void CmdCumle_Click();
    void Img_Click();
    void CmdTamam_Click();
    void CmdOgrendim_Click();
    // Reads the question aloud: the foreign word in a voice of its language,
    // a meaning in a Turkish one.
    void CmdSeslendir_Click();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* LblSoru;
    QLabel* LblOrtu;
    QWidget* ShpBalon;
    QLabel* ImgBalonSag;
    QLabel* ImgQuestionMark;
    QLabel* ImgAnm;
    QLabel* ImgDogru;
    QLabel* Img;
    QToolButton* CmdCumle;
    QToolButton* CmdOgrendim;
    QToolButton* CmdTamam;
    QWidget* FrmSoru;
    QWidget* FrmButton;
    QTimer* TimerAnm;

    // The steps of building the window.
    void buildQuestionArea(qreal dpr);
    void buildButtons(qreal dpr);
    void startEyeAndKeys();

    ClickLabel* makeAnswerLabel(int index);
    void setAnswerColour(int index, const QColor& colour);
    // Whether the key is one the window answers to.
    static bool usesKey(int KeyAscii);
    // The asked word's count when the question opened.
    qint16 askedCount() const;
    // The OK button's picture with a face over its middle.
    QPixmap okWithFace(const QPixmap& face) const;
    std::optional<int> askedWordNow() const;
    void recordAnswer(int Index, bool right);

    QuestionHost* host_;
    const SettingsRecord& settings_;
    ModVokabo::WordStore& words_;
    History::AnswerHistory& history_;
    Speech& speech_;
    SpeakerButton* CmdSeslendir;
    // Each answer's number, its key on the keyboard.
    QList<QLabel*> LblNumara;
    // The question: the asked word's position in the active list, the text
    // the balloon shows (either side of the word, whatever the name says),
    // its example sentence, and the answers in the order they show
    // (element 0 is lettered a).
    const int VokaboInd;
    const QString English;
    const QString OrnekCumle;
    QStringList Secenekler;
    // Each answer's word, by its position in AktifListe, in the same order.
    QList<int> answerWords_;
    const bool showsMeaning_;
    // The user asked for the question; when its answers showed.
    bool askedFor_ = false;
    QDateTime shownAt_;
    QList<ClickLabel*> LblCevap;
    QLabel* ImgBalonSol;
    ModVokabo::WordList AktifListe;
    int DogruSira = 1;
    int SonIsaret = -1;
    bool Bildi = false;
    int verdict_ = 0; // 1 right, 2 wrong; the OK button shows only once it is set
    bool unloaded_ = false;
    bool learnedPressed_ = false;
    QPixmap ImgFace1;
    QPixmap ImgFace2;
    QCursor hand_;
    // The eye picture the animation shows next.
    int Kare = 0;
};
