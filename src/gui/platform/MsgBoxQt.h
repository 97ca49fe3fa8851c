#pragma once

#include "platform/MsgBox.h"

class QWidget;

// Message boxes on screen, with Turkish button texts; parent may be null.
MsgBoxResult showQtMessageBox(QWidget* parent, const QString& prompt, int style,
                              const QString& title);
void installQtMsgBox();

class QMessageBox;
// A box that tells something and waits for nothing: it shows beside the
// program's windows, without taking the keyboard or bringing a minimised
// owner back, with an information icon and "Tamam", and goes when it is
// closed or its owner goes.
QMessageBox* showQtNotice(QWidget* owner, const QString& prompt, const QString& title);
