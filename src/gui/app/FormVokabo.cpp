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
#include <utility>

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
    connect(ListPanel, &WordListPanel::importRequested, this, &FormVokabo::ImportWords);
    connect(ListPanel, &WordListPanel::exportRequested, this, &FormVokabo::ExportWords);
    connect(ListPanel, &WordListPanel::progressRequested, this, &FormVokabo::mnu_Ilerleme_Click);
    connect(ListPanel, &WordListPanel::undoImportRequested, this, &FormVokabo::UndoLastImport);
    setAcceptDrops(true);
    FrameAd = new AdvertPanel(this);
    connect(FrameAd, &AdvertPanel::pictureClicked, this, &FormVokabo::openHomePage);

    memories_ = new Quiz::WordMemories(history_, words_, this);
    scheduler_ = new QuestionScheduler(
        settings_, [this] { return series_.ElleSor; }, [this] { return busy_ && busy_->busy(); },
        this);
    connect(scheduler_, &QuestionScheduler::questionDue, this, &FormVokabo::askIfDue);
    if (busy_)
        connect(busy_.get(), &UserBusy::changed, scheduler_, &QuestionScheduler::reconsider);
    clockJumps_ = new ClockJumps(this);
    connect(clockJumps_, &ClockJumps::jumped, scheduler_, &QuestionScheduler::reconsider);
    // A question that waited for enough active words may be asked once they
    // come, from wherever they come (a file read again, an import).
    connect(&words_, &ModVokabo::WordStore::changed, scheduler_,
            [this](ModVokabo::WordListKind list, ModVokabo::WordStore::Change what) {
                if (list == ModVokabo::WordListKind::Active &&
                    what == ModVokabo::WordStore::Change::Lines)
                    scheduler_->reconsider();
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
    progress_->follow(words_);
    connect(&words_, &ModVokabo::WordStore::loaded, this, &FormVokabo::wordsLoaded);
    connect(&words_, &ModVokabo::WordStore::saved, this, &FormVokabo::wordsSaved);

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
    // Nothing of this copy's was started: it only lets go of what it holds.
    removeTrayIcon();
    releaseLock();
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

void FormVokabo::wordFileChangedOutside(ModVokabo::WordStore::OnDisk what) {
    using OnDisk = ModVokabo::WordStore::OnDisk;
    // The end saves the words itself.
    if (stage_ != Stage::Running)
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
    // Its box may be open for a while; a change seen meanwhile waits for it
    // like for any dialog.
    saveSoon_->hold(true);
    // A file removed or emptied outside: the words the program holds are all
    // that is left of them, and they are written again.
    bool writeBack = what == OnDisk::Removed || what == OnDisk::Emptied;
    if (what == OnDisk::Changed) {
        if (!words_.WordsChanged() || keepTheFilesWords())
            what = reloadWordFile();
        else
            writeBack = stage_ == Stage::Running;
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
    if (!ending())
        saveSoon_->hold(false);
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
    if (trayAvailable_ && stage_ != Stage::Ended) {
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
    if (available == trayAvailable_ || ending())
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
    // The window's words are being saved for the end.
    if (ending())
        return;
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

void FormVokabo::askIfDue() {
    if (!scheduler_->dueNow())
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
    // Only the question that comes next in the series takes the keyboard.
    const bool takeKeyboard = std::exchange(nextTakesKeyboard_, false);
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
            scheduler_->setSonSoru(Now());
        return;
    }
    auto* form = new FormSoru(*question, this, settings_, words_, history_, speech_, this);
    scheduler_->stop();
    FormSoru_ = form;
    form->open(takeKeyboard);
    // Read aloud as it comes, unless the user is in a film, a call or a
    // presentation, or asked not to be disturbed.
    if (settings_.seslendir() && !(busy_ && busy_->busy()))
        form->CmdSeslendir_Click();
}

void FormVokabo::startQuestionTimer() {
    // The program may be ending: no new question then. An open question
    // starts the timer itself when it closes.
    if (stage_ == Stage::Running && !questionOpen())
        scheduler_->start();
}

void FormVokabo::setAskCommandEnabled(bool enabled) {
    mnu_VokaboSor->setEnabled(enabled);
}

void FormVokabo::setSonSoru(const QDateTime& when) {
    scheduler_->setSonSoru(when);
}

void FormVokabo::answeringGoesOn() {
    nextTakesKeyboard_ = true;
}

void FormVokabo::mnu_VokaboSor_Click() {
    series_.ElleSor = true;
    scheduler_->setSonSoru(QDateTime());
    if (stage_ != Stage::Running || questionOpen())
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
    if (ending())
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
    if (stage_ == Stage::Ended || Form_Unload())
        event->accept();
    else
        event->ignore();
}
