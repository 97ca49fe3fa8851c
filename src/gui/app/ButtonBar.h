#pragma once

#include <QWidget>
#include <array>

class BarButton;
class QTimer;

// The main window's button bar (Frame1): the seven picture buttons Cmd(0..6)
// between their separators Line1 and Line2, and the hover effect that lights
// the button under the pointer and pulses its picture.
class ButtonBar : public QWidget {
    Q_OBJECT
public:
    explicit ButtonBar(QWidget* parent);

    // Ends a highlight at once and shows its button's picture at its
    // natural size, until the pointer moves on a button again.
    void endHover();

signals:
    // A button was pressed: its index in the bar.
    void commandChosen(int Index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Cmd_MouseMove(int Index);
    void TimerBtn_Timer();
    void TimerBtnAnim_Timer();
    void DrawButton(int i);
    bool IsCursorOver(const QWidget* control) const;

    std::array<BarButton*, 7> Cmd;
    QWidget* Line1;
    QWidget* Line2;
    QTimer* TimerBtn;
    QTimer* TimerBtnAnim;

    // The highlighted button, and the step of its pulse (pixels smaller
    // than the picture's 32).
    BarButton* HoverCtl = nullptr;
    bool Hovering = false;
    int AnimStep = 0;
    bool AnimCountUp = true;
};
