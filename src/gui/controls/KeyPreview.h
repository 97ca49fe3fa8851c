#pragma once

#include <QObject>
#include <functional>

class QWidget;

// The character code of the Esc key.
inline constexpr int EscKeyAscii = 27;

// Hands every key press meant for a window, whichever of its controls has
// the focus, to the window first. The handler gets the key's character code
// (27 for Esc) and returns true when it used the key.
class KeyPreview : public QObject {
public:
    KeyPreview(QWidget* window, std::function<bool(int)> handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<bool(int)> handler_;
};
