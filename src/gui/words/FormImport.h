#pragma once

#include "words/WordImport.h"

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;

// Shows, before anything is added, what a file would bring: its first words
// as a table, how many are new, how many are left out because the lists
// have them already, and every line that could not be read, with its number
// and why. The learner can say whether the first row is a header, which
// column holds what, the encoding, a KVTML file's two languages, and
// whether the counts and lists of the program's own export are kept; each
// choice reads the file again. The file is read away from the window's
// thread, so a large one shows its progress and the window stays
// responsive; "İptal" stops the reading.
class FormImport : public QDialog {
    Q_OBJECT
public:
    // active, passive: the words the lists hold now, to leave out what they
    // have already.
    FormImport(const QString& path, const ModVokabo::WordList& active,
               const ModVokabo::WordList& passive, QWidget* parent = nullptr);
    ~FormImport() override;

    // Once accepted ("Ekle"): the words to add to each list.
    const ModVokabo::WordList& activeToAdd() const { return plan_.active; }
    const ModVokabo::WordList& passiveToAdd() const { return plan_.passive; }
    // The file has been read with the choices shown, and nothing is read now.
    bool finishedReading() const { return finished_; }

    QPushButton* CmdEkle;
    QPushButton* CmdIptal;

private:
    void startReading();
    void showProgress();
    void showOutcome();
    // A choice of the learner's: read again with it.
    void choose(const std::function<void(WordImport::Options&)>& change);
    void showChoices();
    // What the learner can choose; disabled while the file is read.
    QList<QWidget*> choices() const;
    void showWords();
    void showSummary();
    void CmdDegistir_Click();

    QString path_;
    ModVokabo::WordList active_;
    ModVokabo::WordList passive_;

    QLabel* LabelDosya;
    QLabel* LabelBicim;
    QWidget* FrameKodlama;
    QComboBox* ComboKodlama;
    QCheckBox* CheckBaslik;
    QCheckBox* CheckSayilar;
    QWidget* FrameSutunlar;
    QComboBox* ComboVokabo;
    QComboBox* ComboKarsilik;
    QComboBox* ComboOrnek;
    QPushButton* CmdDegistir;
    QWidget* FrameDiller;
    QComboBox* ComboDilVokabo;
    QComboBox* ComboDilKarsilik;
    QLabel* LabelTablo;
    QTableWidget* TableVokabo;
    QLabel* LabelDurum;
    QListWidget* ListSorunlar;
    QProgressBar* Progress;
    QTimer* progressTimer_;

    std::unique_ptr<QThread> reader_;
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::atomic<bool> stop_{false};
    // Written by the reading thread; read here only once it has ended.
    QByteArray bytes_;
    QString loadRefusal_;
    bool loaded_ = false;
    WordImport::Options options_;
    bool keepCounts_ = true;
    WordImport::Result result_;
    WordImport::Plan plan_;
    bool finished_ = false;
};
