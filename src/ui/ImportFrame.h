#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QLineEdit;

// The list windows' import frame: step 1 picks the workbook and proposes the last row, step 2
// lets the user change it, step 3 imports. The window runs the import itself on importRequested.
class ImportFrame : public QFrame
{
    Q_OBJECT

public:
    // closeName names the "X" label; sampleName, when given, adds the step 1 line and the hint
    // naming the sample workbook in the program folder.
    // The window's own button kind, made with its caption; its Click() signal runs the step.
    using ButtonMaker = std::function<QWidget *(QWidget *parent, const QString &caption)>;
    ImportFrame(QWidget *parent, const ButtonMaker &makeButton, const QString &closeName,
                const QString &sampleName = {});

    // The used rows of a workbook; throws on a file that cannot be read.
    std::function<int(const QString &path)> countRows;

    QLineEdit *txtPath = nullptr;
    QLineEdit *txtNoofRecords = nullptr;
    QLabel *lblProgress = nullptr;

    // Frame size in twips, for the window's layout.
    static constexpr int Width = 7200;
    static constexpr int Height = 3900;

signals:
    void importRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void selectExcelFile();

private:

    QLabel *closeLabel = nullptr;
};
