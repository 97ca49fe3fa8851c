#pragma once

#include "history/AnswerHistory.h"

#include <QWidget>

class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QThread;
class QTimer;

// The learner's progress, "İlerleme": his answers a day over the last 30
// days, his active and passive words over time, his streak of days with a
// right answer, and the words he got wrong most often. "Tablo" shows the
// same figures as plain tables, to read aloud or copy. The window follows
// the history while it is open.
class FormIlerleme : public QWidget {
    Q_OBJECT
public:
    FormIlerleme(History::AnswerHistory& history, QWidget* mainWindow);
    ~FormIlerleme() override;

    // Reads the figures again.
    void refresh();

signals:
    // A double-click on one of the words most often wrong.
    void wordChosen(const QString& English, const QString& Turkish);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckTablo_Click();
    void CmdDisaAktar_Click();
    void exportEnded(const QString& path, const QString& failure);
    void showDays(const History::Figures& figures);
    void showLists(const History::Figures& figures);
    void showMostWrong(const History::Figures& figures);

    History::AnswerHistory& history_;
    QLabel* LabelSeri;
    QCheckBox* CheckTablo;
    QPushButton* CmdDisaAktar;
    QStackedWidget* daysPage_;
    QStackedWidget* listsPage_;
    QChart* daysChart_;
    QChart* listsChart_;
    QChartView* ChartGunler;
    QChartView* ChartListeler;
    QTableWidget* TableGunler;
    QTableWidget* TableListeler;
    QTableWidget* TableYanlis;
    QTimer* refreshSoon_;
    // Writes the CSV file away from the window's thread; its outcome is
    // read once it has finished.
    QThread* exporter_ = nullptr;
    QString exportFailure_;
};
