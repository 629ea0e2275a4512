#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Small procedures that windows of several parts of the program share.
void SelectAllText(QLineEdit *box);

// The folder chooser: the chosen folder's full path, or an empty text when the user cancels.
QString BrowseForFolder(QWidget *owner, const QString &initialFolder, const QString &title);
