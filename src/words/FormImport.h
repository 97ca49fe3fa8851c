#pragma once

#include "words/WordImport.h"

#include <QDialog>
#include <atomic>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

// Shows, before anything is added, what a file would bring: how many new
// words, how many are left out because the lists have them already, and
// every line that could not be read, with its number and why. The file is
// read away from the window's thread, so a large one shows its progress and
// the window stays responsive; "İptal" stops the reading.
class FormImport : public QDialog {
    Q_OBJECT
public:
    // active, passive: the words the lists hold now, to leave out what they
    // have already.
    FormImport(const QString& path, const ModVokabo::WordList& active,
               const ModVokabo::WordList& passive, QWidget* parent = nullptr);
    ~FormImport() override;

    // Once accepted ("Ekle"): the words to add to the active list, count 0.
    const QList<ModVokabo::WordDef>& wordsToAdd() const { return plan_.toAdd; }
    bool finishedReading() const { return finished_; }

    QPushButton* CmdEkle;
    QPushButton* CmdIptal;

private:
    void showProgress();
    void showOutcome();

    QLabel* LabelDosya;
    QLabel* LabelDurum;
    QProgressBar* Progress;
    QListWidget* ListSorunlar;
    QTimer* progressTimer_;
    QThread* reader_ = nullptr;
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::atomic<bool> stop_{false};
    // Written by the reading thread; read here only once it has ended.
    WordImport::Result result_;
    WordImport::Plan plan_;
    bool finished_ = false;
};
