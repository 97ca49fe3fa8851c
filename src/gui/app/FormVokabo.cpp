#include "app/FormVokabo.h"

#include "ProductInfo.h"
#include "app/AdvertPanel.h"
#include "app/ButtonBar.h"
#include "app/FormVokaboDesign.h"
#include "app/PauseMenu.h"
#include "app/SaveSoon.h"
#include "app/Scheduler.h"
#include "app/WindowPlacement.h"
#include "app/WordListPanel.h"
#include "controls/FramePlacer.h"
#include "controls/KeyPreview.h"
#include "controls/Look.h"
#include "controls/TryIcn.h"
#include "history/FormIlerleme.h"
#include "platform/Activation.h"
#include "platform/Clock.h"
#include "platform/ClockJumps.h"
#include "platform/ModalLoops.h"
#include "platform/MsgBox.h"
#include "platform/MsgBoxQt.h"
#include "platform/RegistryStore.h"
#include "platform/SessionPlatform.h"
#include "platform/SingleInstance.h"
#include "platform/Topmost.h"
#include "platform/Twips.h"
#include "quiz/FormImg.h"
#include "quiz/Quiz.h"
#include "quiz/WordMemories.h"
#include "settings/Settings.h"
#include "words/FormProgress.h"
#include "words/FormYeni.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <optional>

namespace {
const QString SaveFailedTitle = QStringLiteral("Vokaboler kaydedilemedi");

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

FormVokabo::FormVokabo(const QString& commandLine, SettingsRecord& settings,
                       ModVokabo::WordStore& words, History::AnswerHistory& history, Speech& speech,
                       std::unique_ptr<NotifyIcon::Layer> tray, std::unique_ptr<UserBusy> busy,
                       QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      commandLine_(commandLine), settings_(settings), words_(words), history_(history),
      speech_(speech), busy_(std::move(busy)) {
    setObjectName(QStringLiteral("FormVokabo"));
    setWindowTitle(ProductInfo::NameAndVersion);
    resize(FormVokaboDesign::DesignedClient);
    setFont(designFont("MS Sans Serif", 8.25));
    setBackground(this, FormVokaboDesign::BarColour);

    // In this order the keyboard's Tab goes from the bar's buttons to the
    // list, and the list panel's tabs stand over the bar.
    Frame1 = new ButtonBar(this);
    connect(Frame1, &ButtonBar::commandChosen, this, &FormVokabo::Cmd_Click);
    ListPanel = new WordListPanel(words_, this);
    connect(ListPanel, &WordListPanel::editRequested, this, &FormVokabo::EditWord);
    connect(ListPanel, &WordListPanel::deleteRequested, this, &FormVokabo::DeleteSelectedWord);
    connect(ListPanel, &WordListPanel::listChosen, this, &FormVokabo::LabelAktif_Click);
    connect(ListPanel, &WordListPanel::importRequested, this, &FormVokabo::ImportWords);
    connect(ListPanel, &WordListPanel::exportRequested, this, &FormVokabo::ExportWords);
    connect(ListPanel, &WordListPanel::progressRequested, this, &FormVokabo::mnu_Ilerleme_Click);
    connect(ListPanel, &WordListPanel::undoImportRequested, this, &FormVokabo::UndoLastImport);
    setAcceptDrops(true);
    FrameAd = new AdvertPanel(this);
    connect(FrameAd, &AdvertPanel::pictureClicked, this, &FormVokabo::ImageAd_Click);

    memories_ = new Quiz::WordMemories(history_, words_, this);
    TimerSor = new QuestionScheduler(
        settings_, [this] { return series_.ElleSor; }, [this] { return busy_ && busy_->busy(); },
        this);
    connect(TimerSor, &QuestionScheduler::questionDue, this, &FormVokabo::TimerSor_Timer);
    if (busy_)
        connect(busy_.get(), &UserBusy::changed, TimerSor, &QuestionScheduler::reconsider);
    clockJumps_ = new ClockJumps(this);
    connect(clockJumps_, &ClockJumps::jumped, TimerSor, &QuestionScheduler::reconsider);
    // A question that waited for enough active words may be asked once they
    // come, from wherever they come (a file read again, an import).
    connect(&words_, &ModVokabo::WordStore::changed, TimerSor,
            [this](ModVokabo::WordListKind list, ModVokabo::WordStore::Change what) {
                if (list == ModVokabo::WordListKind::Active &&
                    what == ModVokabo::WordStore::Change::Lines)
                    TimerSor->reconsider();
            });

    popMenu = new QMenu(QStringLiteral("popup_menu"), this);
    popMenu->setObjectName(QStringLiteral("popMenu"));
    const auto menuItem = [this](const QString& text, const char* name) {
        QAction* item = popMenu->addAction(text);
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    mnu_YeniVokabo = menuItem(QStringLiteral("Yeni Vokabo"), "mnu_YeniVokabo");
    mnu_VokaboSor = menuItem(QStringLiteral("Vokabo Sor"), "mnu_VokaboSor");
    mnu_Duraklat = new PauseMenu(settings_, popMenu);
    popMenu->addMenu(mnu_Duraklat);
    connect(mnu_Duraklat, &PauseMenu::notStored, this, [this] {
        tellQuietly(QStringLiteral("Duraklatma kaydedilemedi"),
                    QStringLiteral("Ayar dosyası yazılamadı (%1). Duraklatmadaki bu değişiklik "
                                   "yalnızca bu oturumda geçerli, program yeniden başlayınca "
                                   "sürmeyecek.")
                        .arg(registryStoreProblem()));
    });
    popMenu->addSeparator();
    mnu_Ilerleme = menuItem(QStringLiteral("İlerleme"), "mnu_Ilerleme");
    mnu_Ac = menuItem(QStringLiteral("Aç"), "mnu_Ac");
    mnu_Cikis = menuItem(QStringLiteral("Çıkış"), "mnu_Cikis");
    connect(mnu_YeniVokabo, &QAction::triggered, this, &FormVokabo::mnu_YeniVokabo_Click);
    connect(mnu_VokaboSor, &QAction::triggered, this, &FormVokabo::mnu_VokaboSor_Click);
    connect(mnu_Ilerleme, &QAction::triggered, this, &FormVokabo::mnu_Ilerleme_Click);
    connect(mnu_Ac, &QAction::triggered, this, &FormVokabo::mnu_Ac_Click);
    connect(mnu_Cikis, &QAction::triggered, this, &FormVokabo::mnu_Cikis_Click);

    TryIcn1 = new TryIcn(this, std::move(tray));
    TryIcn1->setObjectName(QStringLiteral("TryIcn1"));
    // A double-click reached the tray host, not the program: the desktop is
    // told that the user asked for the window, or it would not activate it.
    connect(TryIcn1, &TryIcn::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Context)
            popMenu->popup(QCursor::pos());
        else if (why == QSystemTrayIcon::DoubleClick)
            prepareActivation(this, {}, [this] { mnu_Ac_Click(); });
    });

    progress_ = new FormProgress(this);

    saveSoon_ = new SaveSoon(words_, this);
    connect(saveSoon_, &SaveSoon::saveFailed, this, [this](const ModVokabo::FileOutcome& outcome) {
        tellQuietly(SaveFailedTitle,
                    QStringLiteral("%1\n%2\nKaydetme birkaç saniye sonra, sonra da gittikçe "
                                   "uzayan aralıklarla kendiliğinden yeniden denenecek.")
                        .arg(nativePath(outcome.path), outcome.reason));
    });
    connect(saveSoon_, &SaveSoon::saveWorkedAgain, this, [this] {
        tellQuietly(QStringLiteral("Vokaboler kaydedildi"),
                    QStringLiteral("Kaydedilemeyen vokaboler artık dosyada:\n%1")
                        .arg(nativePath(words_.wordFilePath())));
    });
    // A save that found the file changed has the change looked at.
    connect(saveSoon_, &SaveSoon::fileChangedOnDisk, &words_, &ModVokabo::WordStore::lookAtDisk);
    connect(&words_, &ModVokabo::WordStore::changedOnDisk, this,
            &FormVokabo::wordFileChangedOutside);
    connect(&history_, &History::AnswerHistory::trouble, this, &FormVokabo::tellQuietly);
    connect(&words_, &ModVokabo::WordStore::linesSetAside, this,
            [this](int count, const QString& path) {
                tellQuietly(QStringLiteral("Okunamayan satırlar saklandı"),
                            QStringLiteral("Vokabo dosyasının okunamayan %1 satırı kaybolmasın "
                                           "diye şu dosyaya yazıldı:\n%2")
                                .arg(count)
                                .arg(QDir::toNativeSeparators(path)));
            });

    new KeyPreview(this, [this](int KeyAscii) {
        // Esc first ends a search in the list; only then hides the window.
        if (KeyAscii == EscKeyAscii && ListPanel->closeFilter())
            return true;
        Form_KeyPress(KeyAscii);
        return KeyAscii == EscKeyAscii;
    });
}

FormVokabo::~FormVokabo() {
    delete FormIlerleme_;
    // Before anything of the window they ask for goes.
    qDeleteAll(findChildren<FormSoru*>(Qt::FindDirectChildrenOnly));
    words_.setProgressView(nullptr);
}

bool FormVokabo::Form_Load(const QByteArray& startupId) {
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
                    instance_->callRunningCopy(startupId));
        return false;
    }

    connect(instance_.get(), &SingleInstance::calledForward, this,
            [this](const QByteArray& startupId) {
                prepareActivation(this, startupId, [this] {
                    mnu_Ac_Click();
                    instance_->cameForward();
                });
            });

    Randomize(static_cast<quint64>(Now().toMSecsSinceEpoch()));

    words_.setProgressView(progress_);
    if (const ModVokabo::FileOutcome loaded = words_.LoadWordFile(); !loaded.ok)
        reportUnreadableWordFile(loaded);
    else
        tellAboutLoad(loaded);
    words_.watchWordFile();

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

    if (ListPanel->lineCount() > 0)
        ListPanel->setCurrentLine(0);
    // The keyboard starts in the word list, on its first line.
    ListPanel->focusList();
    LayoutReady = true;
    Form_Resize();

    TryIcn1->setIcon(windowIcon());
    TryIcn1->setToolTip(trayToolTip());
    TryIcn1->setHostMenu(popMenu);
    TryIcn1->Start();
    trayAvailable_ = TryIcn1->TrayAvailable();
    connect(TryIcn1, &TryIcn::TrayAvailabilityChanged, this, &FormVokabo::trayAvailabilityChanged);

    // Only the one copy that runs may move a damaged history aside, and it
    // tells so at its tray icon.
    history_.open();
    if (settings_.akilli())
        memories_->load();

    startHidden_ = commandLine_ == u"-o";

    // Words a shut-down could not save, kept since the word file was last
    // written.
    if (const QStringList rescued = words_.rescueCopies(); !rescued.isEmpty())
        tellQuietly(QStringLiteral("Kurtarılan vokaboler"),
                    QStringLiteral("Son çıkışta kaydedilemeyen vokaboler şu dosyada saklı:\n%1\n"
                                   "Listeye \"Dosyadan Vokabo Ekle…\" ile geri alınabilir.")
                        .arg(nativePath(rescued.last())));

    TimerSor->start();
    return true;
}

bool FormVokabo::takeOverAsked(const LockHolder& holder) {
    return MsgBox(QStringLiteral("Bu vokabo dosyası başka bir bilgisayarda (%1) açık görünüyor: "
                                 "%2 kullanıcısı %3 tarihinde açmış.\n%4\n\n"
                                 "Program o bilgisayarda artık çalışmıyorsa (kapandıysa ya da "
                                 "bilgisayar çöktüyse) kilidi devralıp burada açabilirsiniz. "
                                 "İkisi birden çalışırsa birinin değişiklikleri kaybolabilir.\n\n"
                                 "Kilit devralınsın mı?")
                      .arg(holder.host, holder.user,
                           QLocale(QLocale::Turkish).toString(holder.since, QLocale::ShortFormat),
                           nativePath(words_.wordFilePath())),
                  MsgBoxStyle::YesNo | MsgBoxStyle::Exclamation | MsgBoxStyle::DefaultButton2,
                  QStringLiteral("Vokabo Retano")) == MsgBoxResult::Yes;
}

void FormVokabo::refuseStart(bool calledForward) {
    const LockHolder& holder = instance_->holder();
    QString prompt = QStringLiteral("Programın bir kopyası zaten çalışıyor !");
    if (holder.otherHost)
        prompt += QStringLiteral("\n\nKopya başka bir bilgisayarda (%1), %2 kullanıcısının "
                                 "oturumunda açılmış.")
                      .arg(holder.host, holder.user);
    else if (holder.otherUser)
        prompt += QStringLiteral("\n\nKopya başka bir kullanıcının (%1) oturumunda çalışıyor; "
                                 "aynı vokabo dosyasını o programdan çıkılmadan kullanamazsınız.")
                      .arg(holder.user);
    else if (!calledForward)
        prompt += QStringLiteral("\n\nKopya başka bir oturumunuzda çalışıyor.");
    // Over the running copy's window, which has just come forward and may be
    // kept on top.
    MsgBox(prompt, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation | MsgBoxStyle::SystemModal,
           QStringLiteral("Vokabo Retano"));
    refused_ = true;
    Form_Unload();
}

void FormVokabo::LoadSettings() {
    std::optional<QPoint> topLeft;
    if (const auto xy = Settings::unpackPair(Settings::readStored(Settings::SonXYName)))
        topLeft = QPoint(twipsToPixels(static_cast<double>(xy->low)),
                         twipsToPixels(static_cast<double>(xy->high)));
    std::optional<QSize> size;
    if (const auto boy = Settings::unpackPair(Settings::readStored(Settings::SonBoyName)))
        size = QSize(twipsToPixels(static_cast<double>(boy->low)),
                     twipsToPixels(static_cast<double>(boy->high)));
    if (topLeft || size) {
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens.append(screen->availableGeometry());
        const RestoredFrame frame = restoredFrame(frameGeometry(), topLeft, size, screens);
        const QSize designed = this->size();
        auto* placer = new FramePlacer(this, [frame, designed](const QMargins& margins) {
            return QRect(frame.topLeft, frame.size.value_or(designed.grownBy(margins)));
        });
        placer->place();
    }

    settings_.LoadSettingsRecord();
}

void FormVokabo::showAsStarted() {
    if (!startHidden_) {
        show();
    } else if (!trayAvailable_) {
        // A window manager may map a window placed before it shows as a
        // normal one all the same (openbox does): it is minimised again then.
        minimiseWhenMapped_ = true;
        showMinimized();
    }
    if (!trayAvailable_)
        tellNoTray();
}

void FormVokabo::storePlacement() {
    // Where the platform cannot tell a window's place, what is stored stays.
    if (!platformPlacesWindows(QGuiApplication::platformName()))
        return;
    const QRect frame = frameGeometry();
    Settings::writeStored(Settings::SonXYName, Settings::packPair(pixelsToTwips(frame.top()),
                                                                  pixelsToTwips(frame.left())));
    Settings::writeStored(Settings::SonBoyName, Settings::packPair(pixelsToTwips(frame.height()),
                                                                   pixelsToTwips(frame.width())));
}

bool FormVokabo::Form_Unload() {
    if (unloading_ || ended_)
        return false;
    unloading_ = true;
    // No question may open while the program ends, and the words are saved
    // here, once.
    TimerSor->stop();
    saveSoon_->hold(true);

    // A refused second copy never placed its window: what is stored belongs
    // to the copy that runs.
    if (!refused_ && !minimisedToTray_ &&
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        storePlacement();

    if (FormSoru_)
        FormSoru_->close();
    if (FormIlerleme_)
        FormIlerleme_->close();
    FormImg::unload();

    if (words_.WordsChanged()) {
        hide();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!saveWords()) {
            unloading_ = false;
            shutdownRequested_ = false;
            mnu_Ac_Click();
            TimerSor->start();
            saveSoon_->hold(false);
            return false;
        }
    }

    TryIcn1->Remove();
    instance_.reset();
    unloading_ = false;
    ended_ = true;
    emit ended();
    return true;
}

bool FormVokabo::saveWords() {
    using ModVokabo::WordStore;
    auto outside = WordStore::OutsideChanges::Keep;
    for (;;) {
        ModVokabo::FileOutcome outcome = words_.SaveWordFile(outside);
        if (outcome.ok)
            return true;
        if (endedBySystem_)
            return rescueWords(outcome);
        if (outcome.changedOnDisk) {
            // Looked at here and now: the program is ending.
            switch (words_.lookAtDiskNow()) {
            case WordStore::OnDisk::AsSeen:
                continue;
            case WordStore::OnDisk::Emptied:
            case WordStore::OnDisk::Removed:
                outside = WordStore::OutsideChanges::Overwrite;
                continue;
            case WordStore::OnDisk::Changed:
                // Leaving with the file's words is leaving without saving.
                if (keepTheFilesWords() || endedBySystem_)
                    return endedBySystem_ ? rescueWords(outcome) : true;
                outside = WordStore::OutsideChanges::Overwrite;
                continue;
            case WordStore::OnDisk::Unreadable:
                outcome.reason = QStringLiteral("Dosya şu anda okunamıyor; içinde ne olduğu "
                                                "bilinmeden üzerine yazılmıyor.");
                break;
            }
        }
        const QString failed = QStringLiteral("Vokaboler kaydedilemedi:\n%1\n\n%2\n\n")
                                   .arg(outcome.path, outcome.reason);
        // Offer only what can work: a file that could not be read at start is
        // never written, however often the user tries.
        if (!outcome.retryMayHelp) {
            const bool leave =
                MsgBox(failed + QStringLiteral("Kaydetmeden çıkılsın mı? \"Hayır\" programı "
                                               "açık tutar."),
                       MsgBoxStyle::YesNo | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2,
                       QStringLiteral("Vokabo Retano")) == MsgBoxResult::Yes;
            return endedBySystem_ ? rescueWords(outcome) : leave;
        }
        const MsgBoxResult answer = MsgBox(
            failed + QStringLiteral("\"Tekrar Dene\" kaydetmeyi yeniden dener; \"Vazgeç\" "
                                    "programı açık tutar; \"Kaydetmeden Çık\" bu oturumdaki "
                                    "değişiklikleri bırakır."),
            MsgBoxStyle::AbortRetryIgnore | MsgBoxStyle::Critical | MsgBoxStyle::DefaultButton2,
            QStringLiteral("Vokabo Retano"));
        // The system ended the program while the box was open.
        if (endedBySystem_)
            return rescueWords(outcome);
        if (answer == MsgBoxResult::Ignore)
            return true;
        if (answer != MsgBoxResult::Retry)
            return false;
    }
}

bool FormVokabo::rescueWords(const ModVokabo::FileOutcome& failed) {
    const QString rescued = words_.saveRescueCopy();
    // Nobody waits at a shut-down: the system's log is where this is read.
    std::fprintf(stderr, "Vokabo Retano: the words could not be saved in %s (%s); %s\n",
                 qPrintable(failed.path), qPrintable(failed.reason),
                 rescued.isEmpty()
                     ? "no rescue copy could be written either"
                     : qPrintable(QStringLiteral("they were written to %1").arg(rescued)));
    return true;
}

void FormVokabo::wordFileChangedOutside(ModVokabo::WordStore::OnDisk what) {
    using OnDisk = ModVokabo::WordStore::OnDisk;
    if (askingAboutFile_ || unloading_ || ended_ || shutdownRequested_)
        return;
    if (ModalLoops::depth() > 0) {
        // A word being edited may not move under its dialog: the file is
        // looked at again once the dialogs are closed, and not before.
        if (!std::exchange(outsideChangeWaits_, true))
            ModalLoops::whenAllClosed(this, [this] {
                outsideChangeWaits_ = false;
                words_.lookAtDisk();
            });
        return;
    }
    askingAboutFile_ = true;
    saveSoon_->hold(true);
    // A file removed or emptied outside: the words the program holds are all
    // that is left of them, and they are written again.
    bool writeBack = what == OnDisk::Removed || what == OnDisk::Emptied;
    if (what == OnDisk::Changed) {
        if (!words_.WordsChanged() || keepTheFilesWords())
            what = reloadWordFile();
        else
            writeBack = !shutdownRequested_;
    }
    const QString path = nativePath(words_.wordFilePath());
    if (what == OnDisk::Emptied) {
        writeBack = true;
        tellQuietly(QStringLiteral("Vokabo dosyası boşaltılmış"),
                    QStringLiteral("%1\nBaşka bir program dosyadaki bütün vokaboleri sildi. "
                                   "Programdaki vokaboler korundu ve dosyaya yeniden yazıldı.")
                        .arg(path));
    }
    if (what != OnDisk::Unreadable)
        unreadableTold_ = false;
    else if (!std::exchange(unreadableTold_, true))
        tellQuietly(QStringLiteral("Vokabo dosyası okunamıyor"),
                    QStringLiteral("%1\nDosya okunamaz oldu (yerinde bir klasör olabilir). "
                                   "Vokaboler programda duruyor; dosya yeniden yazılabilir olunca "
                                   "kaydedilecek.")
                        .arg(path));
    if (writeBack)
        if (const auto outcome =
                words_.SaveWordFile(ModVokabo::WordStore::OutsideChanges::Overwrite);
            !outcome.ok)
            tellQuietly(SaveFailedTitle, outcome.reason);
    saveSoon_->hold(false);
    askingAboutFile_ = false;
}

ModVokabo::WordStore::OnDisk FormVokabo::reloadWordFile() {
    using OnDisk = ModVokabo::WordStore::OnDisk;
    const int line = ListPanel->currentLine();
    const QString text = line >= 0 ? ListPanel->lineText(line) : QString();
    const ModVokabo::FileOutcome loaded = words_.LoadWordFile();
    // Found without a word, or unreadable, after all: the words stayed.
    if (loaded.wordsKept)
        return loaded.ok ? OnDisk::Emptied : OnDisk::Unreadable;
    if (!loaded.ok)
        reportUnreadableWordFile(loaded);
    else
        tellAboutLoad(loaded);
    if (line >= 0)
        ListPanel->findLine(text, line);
    return OnDisk::AsSeen;
}

void FormVokabo::tellAboutLoad(const ModVokabo::FileOutcome& outcome) {
    if (outcome.linesInOtherEncoding == 0 || std::exchange(mixedTold_, true))
        return;
    tellQuietly(QStringLiteral("Vokabo dosyasında iki ayrı kodlama"),
                QStringLiteral("%1\n%2 satır dosyanın geri kalanından başka bir kodlamayla "
                               "(UTF-8 ya da Windows-1254) yazılmış; her satır kendi kodlamasıyla "
                               "okundu. Dosya bundan sonra baştan sona UTF-8 olarak kaydedilecek.")
                    .arg(nativePath(outcome.path))
                    .arg(outcome.linesInOtherEncoding));
}

bool FormVokabo::keepTheFilesWords() {
    return MsgBox(QStringLiteral("Vokabo dosyası başka bir programda değiştirildi:\n%1\n\n"
                                 "Programda da henüz kaydedilmemiş değişiklikler var; ikisinden "
                                 "yalnızca biri kalabilir. Dosyadaki vokaboler yüklensin mi?\n\n"
                                 "\"Evet\": dosyadaki vokaboler yüklenir, programdaki son "
                                 "değişiklikler bırakılır.\n"
                                 "\"Hayır\": programdaki vokaboler dosyaya yazılır, dosyadaki "
                                 "değişiklikler bırakılır.")
                      .arg(QDir::toNativeSeparators(words_.wordFilePath())),
                  MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                  QStringLiteral("Vokabo Retano")) == MsgBoxResult::Yes;
}

void FormVokabo::tellQuietly(const QString& title, const QString& text) {
    if (trayAvailable_ && !ended_) {
        TryIcn1->ShowBalloon(title, text);
        return;
    }
    QMessageBox* notice = showQtNotice(this, text, title);
    centreOnScreen(notice);
}

void FormVokabo::reportUnreadableWordFile(const ModVokabo::FileOutcome& outcome) {
    MsgBox(QStringLiteral("Vokabo dosyası okunamadı:\n%1\n\n%2\n\nDosyadaki vokaboler korunacak: "
                          "program bu dosyanın üzerine yazmayacak.")
               .arg(outcome.path, outcome.reason),
           MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, QStringLiteral("Vokabo Retano"));
}

void FormVokabo::requestShutdown(EndedBy by) {
    if (ended_)
        return;
    if (by == EndedBy::System) {
        endedBySystem_ = true;
        // A box of the shut-down itself may be waiting for an answer.
        if (unloading_)
            ModalLoops::closeAll();
    }
    if (unloading_)
        return;
    shutdownRequested_ = true;
    TimerSor->stop();
    if (ModalLoops::depth() > 0) {
        // Their windows are closed only once the dialogs' loops have
        // returned: a window deleted under a running dialog takes the
        // dialog with it while the dialog's loop still uses it.
        ModalLoops::closeAll();
        ModalLoops::whenAllClosed(this, [this, by] { requestShutdown(by); });
        return;
    }
    if (Form_Unload())
        close();
}

void FormVokabo::Form_KeyPress(int KeyAscii) {
    // Esc hides the window into the tray without asking the window manager
    // to minimise it first: that request would still be on its way when the
    // window is already hidden, and would minimise it again when it next
    // shows.
    if (KeyAscii == EscKeyAscii)
        minimiseAway();
}

void FormVokabo::minimiseAway() {
    if (trayAvailable_)
        hideToTray();
    else if (!isMinimized())
        setWindowState(windowState() | Qt::WindowMinimized);
}

void FormVokabo::trayAvailabilityChanged() {
    const bool available = TryIcn1->TrayAvailable();
    if (available == trayAvailable_ || unloading_ || ended_)
        return;
    trayAvailable_ = available;
    if (available)
        return;
    // What hid into the tray that went must stay within reach.
    if (!isVisible()) {
        minimisedToTray_ = false;
        showMinimized();
    }
    tellNoTray();
}

void FormVokabo::tellNoTray() {
    if (noTrayTold_)
        return;
    noTrayTold_ = true;
    QMessageBox* notice = showQtNotice(
        this,
        QStringLiteral("Bu masaüstünde bildirim alanı (sistem tepsisi) yok; Vokabo Retano "
                       "simgesini oraya koyamıyor.\n\n"
                       "Program yine çalışır ve soruları zamanında sorar. Ana pencere "
                       "küçültülünce gizlenmez, açık pencereler arasında kalır: Alt+Tab ile "
                       "ya da programı yeniden başlatarak geri gelir. Pencereyi kapatmak "
                       "programı sonlandırır.\n\n"
                       "Bir bildirim alanı açılırsa (GNOME'da örneğin AppIndicator "
                       "uzantısıyla) simge oraya gelir."),
        QStringLiteral("Vokabo Retano"));
    notice->setObjectName(QStringLiteral("noTrayNotice"));
    // Where the eye looks first, whether or not the main window shows; the
    // box knows its size only once it shows.
    centreOnScreen(notice);
}

void FormVokabo::hideToTray() {
    minimisedToTray_ = true;
    // A window manager places a window that shows again wherever it likes:
    // the window comes back where the user left it.
    placeBeforeHiding_ = geometry().topLeft();
    hide();
}

void FormVokabo::mnu_Ac_Click() {
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    // Asked for through the window itself: moving the widget to where it
    // already is would not tell the window manager. The widget must agree
    // all the same: showing puts a window that was once placed where the
    // widget last saw it, and a window manager may have put the hidden
    // window elsewhere (GNOME Shell leaves it at its frame's corner, a
    // title bar higher).
    if (minimisedToTray_ && !isVisible() && windowHandle()) {
        windowHandle()->setPosition(placeBeforeHiding_);
        setGeometry(QRect(placeBeforeHiding_, size()));
    }
    minimisedToTray_ = false;
    show();
    raise();
    activateWindow();
}

void FormVokabo::mnu_Cikis_Click() {
    requestShutdown();
}

QString FormVokabo::trayToolTip() const {
    const QDateTime until = settings_.duraklat();
    return until.isValid() ? Scheduler::pausedToolTip(until, Now())
                           : QStringLiteral("Vokabo Retano");
}

void FormVokabo::TimerSor_Timer() {
    if (!TimerSor->dueNow())
        return;
    SoruHazirla();
}

bool FormVokabo::questionOpen() const {
    return FormSoru_ && FormSoru_->isOpen();
}

void FormVokabo::SoruHazirla() {
    // One question window at a time, whoever asks.
    if (questionOpen())
        return;
    const ModVokabo::WordList& active = words_.words(ModVokabo::WordListKind::Active);
    // The smart choice once the history is read; the blind draw till then.
    const auto question =
        settings_.akilli() && memories_->isReady()
            ? memories_->composeQuestion(Now().toMSecsSinceEpoch(), settings_.SecenekSay(),
                                         settings_.sor_tur())
            : Quiz::composeQuestion(active, settings_.SecenekSay(), settings_.sor_tur());
    if (!question) {
        // Enough words, but the draw found no set of answers: the next
        // period draws again. Too few words wait for more.
        if (active.size() >= settings_.SecenekSay())
            TimerSor->setSonSoru(Now());
        return;
    }
    auto* form = new FormSoru(*question, this, settings_, words_, history_, speech_, this);
    TimerSor->stop();
    FormSoru_ = form;
    form->open();
    // Read aloud as it comes, unless the user is in a film, a call or a
    // presentation, or asked not to be disturbed.
    if (settings_.seslendir() && !(busy_ && busy_->busy()))
        form->CmdSeslendir_Click();
}

void FormVokabo::startQuestionTimer() {
    // The program may be ending: no new question then. An open question
    // starts the timer itself when it closes.
    if (!shutdownRequested_ && !unloading_ && !ended_ && !questionOpen())
        TimerSor->start();
}

void FormVokabo::setAskCommandEnabled(bool enabled) {
    mnu_VokaboSor->setEnabled(enabled);
}

void FormVokabo::setSonSoru(const QDateTime& when) {
    TimerSor->setSonSoru(when);
}

void FormVokabo::mnu_VokaboSor_Click() {
    series_.ElleSor = true;
    TimerSor->setSonSoru(QDateTime());
    if (shutdownRequested_ || unloading_ || ended_ || questionOpen())
        return;
    // Asked for: at once, whatever holds the scheduled questions.
    SoruHazirla();
    // Too few words: the request stands, as a due question does.
    startQuestionTimer();
}

void FormVokabo::mnu_YeniVokabo_Click() {
    Cmd_Click(FormVokaboDesign::NewWordButton);
}

void FormVokabo::mnu_Ilerleme_Click() {
    if (unloading_ || ended_)
        return;
    if (!FormIlerleme_) {
        FormIlerleme_ = new FormIlerleme(history_, nullptr);
        FormIlerleme_->setWindowIcon(windowIcon());
        connect(FormIlerleme_, &FormIlerleme::wordChosen, this, &FormVokabo::selectWord);
        centreOnScreen(FormIlerleme_);
    }
    FormIlerleme_->show();
    FormIlerleme_->raise();
    FormIlerleme_->activateWindow();
}

void FormVokabo::Form_Resize() {
    if (isMinimized()) {
        minimiseAway();
        return;
    }
    if (!LayoutReady)
        return;
    using namespace FormVokaboDesign;
    const int SW = width();
    const int SH = height();
    Frame1->resize(SW, BarHeight);
    // The list fills what the bar, its title strip and the advert leave; in
    // a very low window the list and the advert keep their last place.
    const int h = SH - BarHeight - TitleHeight - AdHeight - 3;
    if (h > SmallestListHeight) {
        ListPanel->resize(SW, ListTop + h);
        FrameAd->move(0, SH - AdHeight);
    } else {
        ListPanel->resize(SW, ListPanel->height());
    }
    FrameAd->resize(SW, AdHeight);
}

void FormVokabo::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && minimiseWhenMapped_ && isVisible()) {
        minimiseWhenMapped_ = false;
        if (!isMinimized())
            QTimer::singleShot(0, this,
                               [this] { setWindowState(windowState() | Qt::WindowMinimized); });
    }
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void FormVokabo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FormVokabo::closeEvent(QCloseEvent* event) {
    if (ended_ || Form_Unload())
        event->accept();
    else
        event->ignore();
}
