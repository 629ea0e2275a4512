#pragma once

#include "ui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Shows a real message box and returns its width once it is up; the box is then answered.
inline int widthOfShownBox(const Dialogs::Message &message)
{
    int width = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        width = box->width();
        box->accept();
    });
    poll.start(10);
    Dialogs::QtService().message(message);
    return width;
}
