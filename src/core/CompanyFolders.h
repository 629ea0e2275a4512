#pragma once

#include <QString>

class Database;

// The company data folders below a data root, "Data " and the company number each. A new company
// is filled in a hidden folder of its own and moved into place only once its register row is
// committed, so after a crash at any moment either the company is complete and registered, or the
// picker, which walks no hidden folder, lists nothing of it. The next look at the root finishes the
// move a crash interrupted, or removes what never reached the register.
namespace CompanyFolders {

QString folderName(qint64 number);

// The register's highest company number plus one; 1 for an empty register.
qint64 proposeNumber(Database &common);
// From the proposal up, the first number whose folder is not there under root; an entry of that
// name of any kind, a dangling link included, keeps its number. Run it in the register's write
// transaction that adds the row, so two programs never settle on one number; it first finishes or
// removes what crashed creations left under root.
qint64 settleNumber(Database &common, const QString &root);

// A new company's folder while it is filled: hidden under root and locked by this process until it
// is placed; removed with everything in it when it goes without being placed.
class NewFolder
{
public:
    explicit NewFolder(const QString &root);
    ~NewFolder();
    NewFolder(const NewFolder &) = delete;
    NewFolder &operator=(const NewFolder &) = delete;

    const QString &path() const { return path_; }
    // In the register transaction that adds the row of number: the hidden name takes the number,
    // so that a crash after the commit can be finished.
    void reserve(qint64 number);
    // After that commit: moves the folder to root/"Data n" and returns that path.
    QString place();

private:
    QString root_;
    QString token_;
    QString path_;
    qint64 number_ = 0;
    int lock_ = -1;
    bool placed_ = false;
};

// Finishes below root the moves of companies whose register row a crash left committed, and removes
// the hidden folders of creations that never reached their commit. Folders that a running program
// is still filling are left alone. Takes the register's write lock only when there is something to
// do.
void finishInterrupted(Database &common, const QString &root);

} // namespace CompanyFolders
