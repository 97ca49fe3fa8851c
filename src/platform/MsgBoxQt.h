#pragma once

#include "platform/MsgBox.h"

class QWidget;

// Message boxes on screen, with Turkish button texts; parent may be null.
MsgBoxResult showQtMessageBox(QWidget* parent, const QString& prompt, int style,
                              const QString& title);
void installQtMsgBox();
