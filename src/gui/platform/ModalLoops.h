#pragma once

#include <functional>

class QDialog;
class QObject;

// The program's modal windows (dialogs and message boxes) while their own
// event loops run. Shut-down closes them first and waits until every one of
// those loops has returned before it closes the windows they belong to, so
// that no window is deleted under a dialog that still runs on top of it.
namespace ModalLoops {

// Runs the dialog modally. A dialog deleted meanwhile (with the window it
// belongs to) gives QDialog::Rejected.
int exec(QDialog* dialog);

// How many modal loops are running now.
int depth();

// Rejects every open modal window, the innermost first. Their loops return
// once control gets back to them.
void closeAll();

// Runs done from the event loop once no modal loop runs (soon, when none
// runs now), unless context is gone by then. Nothing wakes up meanwhile.
void whenAllClosed(QObject* context, std::function<void()> done);

} // namespace ModalLoops
