#pragma once

#include "shell/CompanyFinder.h"
#include "ui/RecordList.h"

#include <QSet>
#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QTimer;

// The company picker: walks the folders below the data root, lists the companies of every company
// database it finds, filters them by their first letters and opens the chosen one.
class frmCompanyList : public QWidget
{
    Q_OBJECT

public:
    explicit frmCompanyList(QWidget *parent = nullptr);

    // Its designed size: the main window's area frames it at that size.
    QSize sizeHint() const override { return size(); }

    void pathload();
    void GetLoadAllCompany();
    // Restarts the walk from path; every caller passes txtPath's text and the database's name.
    void FindFilesAPI(const QString &path, const QString &SearchStr);
    // Opens the selected company and leads to the login.
    void GetLoadCompany();

    const QStringList &walkedFolders() const { return walk_.folders(); }
    int ScannedFolderCount() const { return scannedFolderCount_; }
    bool scanPending() const { return scannedFolderCount_ < walk_.folders().size(); }
    QString filter() const;

    // The scan: looks into every folder walked since the previous tick.
    void Timer2_Timer();

private:
    bool keyPreview(class QKeyEvent *event);
    bool listKey(QKeyEvent *event);
    void typeFilterLetter(QChar letter);
    void clearFilter();
    void showRow();
    void openSelectedWith(int column);
    void chooseDataRoot();
    void createCompany(bool closeFirst);
    void reportOnce(const QString &key, const QString &text, const QString &title);
    void setRows();
    void closeWindow();

    QLineEdit *txtPath;
    QLineEdit *txtSearch;
    QLineEdit *txtSearch2;
    QLineEdit *WhatSearch;
    QLabel *lblSearch;
    QLabel *lblLastEntry;
    RecordList *Lv1;
    QTimer *Timer2;

    CompanyFinder::FolderWalk walk_;
    int scannedFolderCount_ = 0;
    bool refilling_ = false;
    std::vector<RecordRow> rows_;
    QSet<QString> reported_;
};
