#pragma once

#include "words/ModVokabo.h"

#include <QWidget>
#include <array>
#include <functional>

class ClickLabel;
class QAbstractItemModel;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class WordListModel;

// The main window's list panel: the word list List1 under its title strip
// LabelTur, the tabs LabelAktif(0..1) that choose the active or the passive
// words, and LabelEmpty, which covers the open tab's lower edge. It shows
// one list of the word store, follows its changes, and keeps the current
// line.
class WordListPanel : public QWidget {
    Q_OBJECT
public:
    explicit WordListPanel(const ModVokabo::WordStore& store, QWidget* parent = nullptr);

    // Shows the list, with its tab open; no line is current afterwards.
    void FillWordList(ModVokabo::WordListKind list);
    ModVokabo::WordListKind shownList() const { return shown_; }

    // The lines of List1 and the current one (-1: none).
    int lineCount() const;
    QString lineText(int line) const;
    int lineRecord(int line) const;
    int currentLine() const;
    void setCurrentLine(int line);
    // Makes current the first line that reads text, else line (or the last).
    void findLine(const QString& text, int line);
    // Makes current the line of the shown list's record, where it shows.
    void showRecord(int record);
    // The lines as the word dialog reads them.
    const QAbstractItemModel* lines() const;

    // Runs an edit of the current line's record (a deletion or a move), then
    // makes current the line that followed, or the one before after the last
    // line.
    void changeCurrentWord(const std::function<void(int record)>& change);

    // Gives the keyboard to the list.
    void focusList();

    // The filter field over the title strip: typing in the list opens it
    // with what was typed, Ctrl+F with nothing. While it is open the list
    // shows only the lines whose word or meaning holds its text, and the
    // strip counts them. Closing it shows every line again, with the same
    // current line; false when it was not open.
    void openFilter(const QString& text);
    bool closeFilter();
    QString filterText() const;

    // Every line of the list, shown or filtered out.
    int totalLineCount() const;

    // Whether the context menu offers to take back the last import.
    void setImportUndoable(bool undoable);

signals:
    // A double-click on the list while line is current.
    void editRequested(int line);
    // The Delete key released in the list.
    void deleteRequested();
    // The list's context menu: words from a file, words to a file, the last
    // import taken back.
    void importRequested();
    void exportRequested();
    void undoImportRequested();
    // The list's context menu: the progress window.
    void progressRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void List1_Click();
    void List1_DblClick();
    void List1_KeyUp(int KeyCode);
    // A tab: 0 shows the active words, 1 the passive ones.
    void LabelAktif_Click(int Index);
    // Fits the strip and the list to the panel's width and height, and puts
    // the tabs beside Line1.
    void layOut();
    void setTabLook(int Index, bool selected);
    void PlaceTabCover();
    void TextAra_Change();
    // The strip's words: the list's name and count, or while filtering how
    // many lines of all are shown.
    void showCaption();
    void storeChanged(ModVokabo::WordListKind list, ModVokabo::WordStore::Change what);

    const ModVokabo::WordStore& store_;
    ModVokabo::WordListKind shown_ = ModVokabo::WordListKind::Active;

    QLabel* LabelTur;
    QListView* List1;
    std::array<ClickLabel*, 2> LabelAktif;
    QLabel* LabelEmpty;
    QLineEdit* TextAra;
    QMenu* mnu_Liste;
    QAction* mnu_GeriAl;
    WordListModel* lines_;
    // The panel's own deletion or move is under way.
    bool changingCurrentWord_ = false;
};
