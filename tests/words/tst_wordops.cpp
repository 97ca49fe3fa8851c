#include "support/TestSupport.h"
#include "words/ModVokabo.h"

#include <QTest>

using namespace ModVokabo;

class TestWordOps : public QObject {
    Q_OBJECT
private slots:
    void removingShiftsLaterRecordsDown();
    void statusOtherThanAIsPassive();
    void getUpdateAndSetDogruTouchOnlyTheirFields();
    void deleteAsksAboutTheShownList();
    void toggleAsksAndMovesWithItsCount();
    void fillWordListCaptionLinesAndIndices();

private:
    void fill(const QString& status, const QStringList& englishWords) {
        for (const QString& english : englishWords)
            AppendWord(english, english + "-tr", english + " example", 0, status);
    }
    QStringList english(const WordList& list) {
        QStringList result;
        for (const WordDef& w : list)
            result.append(w.English);
        return result;
    }
};

void TestWordOps::removingShiftsLaterRecordsDown() {
    FreshProgram program;
    fill("A", {"one", "two", "three", "four"});
    ShownList = "A";
    QVERIFY(DeleteWordAsk(2, false));
    QCOMPARE(english(ActiveWords), (QStringList{"one", "three", "four"}));
    QVERIFY(WordsChanged);

    // Deleting the last record leaves no storage behind.
    QVERIFY(DeleteWordAsk(1, false));
    QVERIFY(DeleteWordAsk(1, false));
    QVERIFY(DeleteWordAsk(1, false));
    QVERIFY(ActiveWords.isEmpty());
}

void TestWordOps::statusOtherThanAIsPassive() {
    FreshProgram program;
    for (const char* status : {"P", "X", "a", "", "A "})
        AppendWord(status, "", "", 0, status);
    AppendWord("active", "", "", 0, "A");
    QCOMPARE(english(ActiveWords), QStringList{"active"});
    QCOMPARE(PassiveWords.size(), 5);
    QCOMPARE(GetWordList("X").size(), 5);
}

void TestWordOps::getUpdateAndSetDogruTouchOnlyTheirFields() {
    FreshProgram program;
    fill("P", {"x", "y"});
    SetWordDogru("P", 2, 9);
    UpdateWord("P", 2, "new", "yeni", "yeni örnek");
    QString e, t, o;
    GetWord("P", 2, e, t, o);
    QCOMPARE(e, QStringLiteral("new"));
    QCOMPARE(t, QStringLiteral("yeni"));
    QCOMPARE(o, QStringLiteral("yeni örnek"));
    QCOMPARE(PassiveWords[1].Dogru, 9);
    QCOMPARE(PassiveWords[0], word("x", "x-tr", "x example", 0));
    QVERIFY(!WordsChanged);
}

void TestWordOps::deleteAsksAboutTheShownList() {
    FreshProgram program;
    fill("A", {"active"});
    fill("P", {"first", "second"});
    ShownList = "P";
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::No, MsgBoxResult::Yes});

    QVERIFY(!DeleteWordAsk(2, true));
    QCOMPARE(PassiveWords.size(), 2);
    QVERIFY(!WordsChanged);

    QVERIFY(DeleteWordAsk(2, true));
    QCOMPARE(english(PassiveWords), QStringList{"first"});
    QCOMPARE(ActiveWords.size(), 1);
    QVERIFY(WordsChanged);

    QCOMPARE(box.asked().size(), 2);
    QCOMPARE(box.asked()[0].prompt,
             QStringLiteral("\"second\" vokabo tanımını silmek istiyor musunuz ?"));
    QCOMPARE(box.asked()[0].title, QStringLiteral("Vokabo Silme"));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
}

void TestWordOps::toggleAsksAndMovesWithItsCount() {
    FreshProgram program;
    fill("A", {"a1", "a2"});
    fill("P", {"p1"});
    SetWordDogru("A", 1, 5);
    ScriptedMsgBox box;

    // Without asking: the record goes to the end of the other list.
    QVERIFY(ToggleWordAsk("A", 1, false));
    QVERIFY(box.asked().isEmpty());
    QCOMPARE(english(ActiveWords), QStringList{"a2"});
    QCOMPARE(english(PassiveWords), (QStringList{"p1", "a1"}));
    QCOMPARE(PassiveWords[1], word("a1", "a1-tr", "a1 example", 5));
    QVERIFY(WordsChanged);

    ShownList = "P";
    box.answer({MsgBoxResult::No, MsgBoxResult::Yes});
    QVERIFY(!ToggleWordAsk("P", 2, true));
    QCOMPARE(PassiveWords.size(), 2);
    QVERIFY(ToggleWordAsk("P", 2, true));
    QCOMPARE(english(ActiveWords), (QStringList{"a2", "a1"}));
    QCOMPARE(ActiveWords[1].Dogru, 5);
    QCOMPARE(box.asked()[1].prompt,
             QStringLiteral("\"a1\" vokabo tanımını aktif yapmak istiyor musunuz ?"));
    QCOMPARE(box.asked()[1].title, QStringLiteral("Vokabo Aktif/Pasif"));

    ShownList = "A";
    box.answer({MsgBoxResult::Yes});
    QVERIFY(ToggleWordAsk("A", 1, true));
    QCOMPARE(box.asked()[2].prompt,
             QStringLiteral("\"a2\" vokabo tanımını pasif yapmak istiyor musunuz ?"));
    QCOMPARE(english(PassiveWords), (QStringList{"p1", "a2"}));
}

void TestWordOps::fillWordListCaptionLinesAndIndices() {
    FreshProgram program;
    RecordingListView view;
    setWordListView(&view);
    fill("P", {"zeta", "alpha"});

    FillWordList("A");
    QCOMPARE(view.caption, QStringLiteral("Aktif Vokaboleriniz (0)"));
    QVERIFY(view.lines.isEmpty());
    QCOMPARE(ShownList, QStringLiteral("A"));

    FillWordList("anything else");
    QCOMPARE(ShownList, QStringLiteral("P"));
    QCOMPARE(view.caption, QStringLiteral("Pasif Vokaboleriniz (2)"));
    QCOMPARE(view.lines.size(), 2);
    QCOMPARE(view.lines[0].text, QStringLiteral("zeta || zeta-tr"));
    QCOMPARE(view.lines[0].index, 1);
    QCOMPARE(view.lines[1].text, QStringLiteral("alpha || alpha-tr"));
    QCOMPARE(view.lines[1].index, 2);
}

QTEST_GUILESS_MAIN(TestWordOps)
#include "tst_wordops.moc"
