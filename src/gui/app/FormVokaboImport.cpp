// What the main window does to bring words in from files and take them out:
// the list's context menu, and files dropped on the window.

#include "app/FormVokabo.h"
#include "app/Scheduler.h"
#include "app/WordListPanel.h"

#include "platform/ModalLoops.h"
#include "platform/MsgBox.h"
#include "settings/Settings.h"
#include "words/FormImport.h"
#include "words/WordExport.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLocale>
#include <QMimeData>
#include <QTimer>

namespace {
const QString ImportTitle = QStringLiteral("Dosyadan Vokabo Ekle");
const QString ExportTitle = QStringLiteral("Vokaboleri Dışa Aktar");
const QString CsvFilter = QStringLiteral("CSV dosyası (*.csv)");
const QString TabFilter = QStringLiteral("Sekmeyle ayrılmış metin (*.txt *.tsv)");
const QString KvtmlFilter = QStringLiteral("KVTML 2: Parley, KWordQuiz (*.kvtml)");

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
    return paths;
}
} // namespace

void FormVokabo::ImportWords() {
    if (FormSoru_)
        FormSoru_->close();
    scheduler_->stop();
    // The file dialog of Qt itself: it runs as the program's other modal
    // windows do, so that shut-down can close it.
    QFileDialog dialog(this, ImportTitle);
    dialog.setObjectName(QStringLiteral("FileDialogImport"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters({QStringLiteral("Vokabo listeleri (*.csv *.tsv *.txt *.kvtml)"),
                           QStringLiteral("Tüm dosyalar (*)")});
    if (ModalLoops::exec(&dialog) == QDialog::Accepted)
        importFiles(dialog.selectedFiles());
    else
        startQuestionTimer();
}

void FormVokabo::importFiles(const QStringList& paths) {
    // No question comes up over the preview, as over every dialog.
    if (FormSoru_)
        FormSoru_->close();
    scheduler_->stop();
    for (const QString& path : paths) {
        if (ending())
            break;
        FormImport preview(path, words_.words(ModVokabo::WordListKind::Active),
                           words_.words(ModVokabo::WordListKind::Passive), this);
        if (ModalLoops::exec(&preview) == QDialog::Accepted)
            addImportedWords(preview.activeToAdd(), preview.passiveToAdd());
    }
    startQuestionTimer();
}

void FormVokabo::addImportedWords(const ModVokabo::WordList& active,
                                  const ModVokabo::WordList& passive) {
    words_.AppendWords(active, ModVokabo::WordListKind::Active);
    words_.AppendWords(passive, ModVokabo::WordListKind::Passive);
    importedActive_ = active;
    importedPassive_ = passive;
    ListPanel->setImportUndoable(!active.isEmpty() || !passive.isEmpty());
    // Any later change of the lists ends the offer: from then on the words
    // added are the learner's like any others.
    connect(
        &words_, &ModVokabo::WordStore::changed, this,
        [this] {
            importedActive_.clear();
            importedPassive_.clear();
            ListPanel->setImportUndoable(false);
        },
        Qt::SingleShotConnection);
}

void FormVokabo::UndoLastImport() {
    const ModVokabo::WordList active = std::exchange(importedActive_, {});
    const ModVokabo::WordList passive = std::exchange(importedPassive_, {});
    ListPanel->setImportUndoable(false);
    if (!passive.isEmpty())
        words_.RemoveAppendedWords(passive, ModVokabo::WordListKind::Passive);
    if (!active.isEmpty())
        words_.RemoveAppendedWords(active, ModVokabo::WordListKind::Active);
}

void FormVokabo::ExportWords() {
    if (FormSoru_)
        FormSoru_->close();
    scheduler_->stop();
    const ModVokabo::WordListKind shown = ListPanel->shownList();
    const bool activeShown = shown == ModVokabo::WordListKind::Active;
    const ModVokabo::WordList& other = words_.words(ModVokabo::otherList(shown));
    bool both = false;
    if (!other.isEmpty())
        both = MsgBox(QStringLiteral("İki liste (aktif ve pasif vokaboler) birden mi dışa "
                                     "aktarılsın?\n\n\"Hayır\" yalnızca gösterilen listeyi (%1) "
                                     "yazar.")
                          .arg(activeShown ? QStringLiteral("aktif vokaboler")
                                           : QStringLiteral("pasif vokaboler")),
                      MsgBoxStyle::YesNo | MsgBoxStyle::Question, ExportTitle) == MsgBoxResult::Yes;

    QFileDialog dialog(this, ExportTitle);
    dialog.setObjectName(QStringLiteral("FileDialogExport"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({CsvFilter, TabFilter, KvtmlFilter});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("vokaboler.csv"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == TabFilter     ? QStringLiteral("txt")
                                : filter == KvtmlFilter ? QStringLiteral("kvtml")
                                                        : QStringLiteral("csv"));
    });
    if (ModalLoops::exec(&dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        // The name the user gave decides; without a known ending, the filter.
        const auto endsWith = [&path](const char16_t* ending) {
            return path.endsWith(QStringView(ending), Qt::CaseInsensitive);
        };
        const QString filter = dialog.selectedNameFilter();
        WordExport::Format format = WordExport::Format::Csv;
        if (endsWith(u".kvtml") || (!endsWith(u".csv") && !endsWith(u".txt") &&
                                    !endsWith(u".tsv") && filter == KvtmlFilter))
            format = WordExport::Format::Kvtml;
        else if (endsWith(u".txt") || endsWith(u".tsv") ||
                 (!endsWith(u".csv") && filter == TabFilter))
            format = WordExport::Format::Tab;
        QList<WordExport::Section> sections;
        if (both || activeShown)
            sections.append({&words_.words(ModVokabo::WordListKind::Active), u'A'});
        if (both || !activeShown)
            sections.append({&words_.words(ModVokabo::WordListKind::Passive), u'P'});
        const QString failure = WordExport::save(
            path, WordExport::toBytes(format, sections, QLocale::languageToCode(settings_.dil())));
        if (!failure.isEmpty())
            MsgBox(QStringLiteral("Vokaboler dışa aktarılamadı:\n%1\n\n%2").arg(path, failure),
                   MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, ExportTitle);
    }
    startQuestionTimer();
}

void FormVokabo::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FormVokabo::dropEvent(QDropEvent* event) {
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // The program that dragged waits for the drop to end: the preview comes
    // once it has.
    QTimer::singleShot(0, this, [this, paths] { importFiles(paths); });
}
