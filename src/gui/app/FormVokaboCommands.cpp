// What the main window does for its panels: the bar's commands, the edits
// of the list's words, and the advert's page.

#include "app/ButtonBar.h"
#include "app/FormVokabo.h"
#include "app/FormVokaboDesign.h"
#include "app/Scheduler.h"
#include "app/WordListPanel.h"

#include "ProductInfo.h"
#include "help/FormYardim.h"
#include "platform/ModalLoops.h"
#include "platform/MsgBox.h"
#include "platform/WebPage.h"
#include "settings/FormAyar.h"
#include "settings/Settings.h"
#include "words/FormYeni.h"

#include <QTimer>

using namespace FormVokaboDesign;

void FormVokabo::Cmd_Click(int Index) {
    if (ending())
        return;
    Frame1->endHover();
    // The question window first: its own closing starts the question timer
    // again, which must stay off while a dialog is up.
    if (FormSoru_)
        FormSoru_->close();
    scheduler_->stop();
    switch (Index) {
    case NewWordButton:
        ShowNewWordDialog();
        break;
    case DeleteButton:
        DeleteSelectedWord();
        break;
    case ToggleButton:
        ToggleSelectedWord();
        break;
    case SettingsButton:
        ShowSettingsDialog();
        break;
    case AskButton:
        // It starts the timer itself, unless its question is open.
        mnu_VokaboSor_Click();
        return;
    case NewVersionButton:
        openWebPage(ProductInfo::ProgramPage);
        break;
    case HelpButton:
        ShowHelpWindow();
        break;
    default:
        break;
    }
    startQuestionTimer();
}

void FormVokabo::ShowNewWordDialog() {
    showWordDialog(false);
}

void FormVokabo::ShowSettingsDialog() {
    FormAyar dialog(settings_, speech_, this);
    ModalLoops::exec(&dialog);
}

void FormVokabo::ShowHelpWindow() {
    FormYardim dialog(this, words_.wordFilePath());
    ModalLoops::exec(&dialog);
}

void FormVokabo::showWordDialog(bool edit, int Index) {
    std::optional<FormYeni::Edited> edited;
    if (edit && Index >= 0 && Index < ListPanel->lineCount())
        edited = FormYeni::Edited{ListPanel->shownList(), ListPanel->lineRecord(Index)};
    FormYeni dialog(words_, edited, speech_, settings_.dil(), this);
    ModalLoops::exec(&dialog);
}

void FormVokabo::EditWord(int line) {
    scheduler_->stop();
    showWordDialog(true, line);
    startQuestionTimer();
}

void FormVokabo::DeleteSelectedWord() {
    ListPanel->changeCurrentWord(
        [this](int record) { DeleteWordAsk(ListPanel->shownList(), record, true); });
}

void FormVokabo::ToggleSelectedWord() {
    ListPanel->changeCurrentWord(
        [this](int record) { ToggleWordAsk(ListPanel->shownList(), record, true); });
}

namespace {
QString quoted(const QString& text) {
    return u'"' + text + u'"';
}
} // namespace

bool FormVokabo::DeleteWordAsk(ModVokabo::WordListKind list, int index, bool ask) {
    if (ask && MsgBox(quoted(words_.GetWord(list, index).English) +
                          QStringLiteral(" vokabo tanımını silmek istiyor musunuz ?"),
                      MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                      QStringLiteral("Vokabo Silme")) == MsgBoxResult::No)
        return false;
    words_.DeleteWord(list, index);
    return true;
}

bool FormVokabo::ToggleWordAsk(ModVokabo::WordListKind list, int index, bool ask) {
    const QString prompt = list == ModVokabo::WordListKind::Active
                               ? QStringLiteral(" vokabo tanımını pasif yapmak istiyor musunuz ?")
                               : QStringLiteral(" vokabo tanımını aktif yapmak istiyor musunuz ?");
    if (ask && MsgBox(quoted(words_.GetWord(list, index).English) + prompt,
                      MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                      QStringLiteral("Vokabo Aktif/Pasif")) == MsgBoxResult::No)
        return false;
    words_.ToggleWord(list, index);
    return true;
}

void FormVokabo::selectWord(const QString& English, const QString& Turkish) {
    for (const auto list : {ModVokabo::WordListKind::Active, ModVokabo::WordListKind::Passive}) {
        const ModVokabo::WordList& words = words_.words(list);
        for (int i = 0; i < words.size(); ++i) {
            if (words[i].English != English || words[i].Turkish != Turkish)
                continue;
            ListPanel->closeFilter();
            if (ListPanel->shownList() != list)
                ListPanel->FillWordList(list);
            ListPanel->showRecord(i);
            mnu_Ac_Click();
            return;
        }
    }
}

void FormVokabo::openHomePage() {
    openWebPage(ProductInfo::HomePage);
}
