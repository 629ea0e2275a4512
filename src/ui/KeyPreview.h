#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class QKeyEvent;

// Window-wide keyboard behaviour: a window sees every key before the control that has the focus.
namespace KeyPreview {

// The handler returns true when it used the key; the control then never sees it.
using Handler = std::function<bool(QKeyEvent *event)>;
void install(QWidget *window, Handler handler);

// Alt (not AltGr) with a key that carries a character, arriving at a control: no button took it
// as its access key. Every window lets the control have the key without its character, so an
// unused access key types nothing.
bool isUnusedAccessKey(const QKeyEvent *event);

// Return or the keypad's Enter, whatever modifiers are held.
bool isEnter(const QKeyEvent *event);
// Return or Enter with no Shift, Ctrl or Alt held: the Enter chain leaves those combinations to
// the control that has the focus.
bool isPlainEnter(const QKeyEvent *event);

// Enter moves along the chain; Enter in the last control moves to the last entry (the save button).
void installEnterChain(QWidget *window, const QList<QWidget *> &chain);

// Esc calls closePanel first; when that returns false (no panel open) the window closes.
void installEscClose(QWidget *window, std::function<bool()> closePanel = {});

// Text and combo boxes take one back colour while they have the focus and another when they lose
// it.
void installFocusColours(const QList<QWidget *> &controls, quint32 focusColour = 0xC0FFC0,
                         quint32 blurColour = 0xFEF7F3);

// Sets a control's back colour (BBGGRR).
void setBackColour(QWidget *control, quint32 colour);

} // namespace KeyPreview
