#pragma once

#include <QList>
#include <QPair>
#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class ReportDocument;
class ReportViewer;

// The report window: previews a report handed over by a printing window and prints it, sets up
// the printer, exports it to PDF, mails it or hands it to the messaging sender.
class frmPrint1 : public QWidget
{
    Q_OBJECT
public:
    explicit frmPrint1(QWidget *parent = nullptr);

    // The hand-over's parts: the label that records the template and the viewer.
    QLabel *lblRPTFileName() const { return lblRPTFileName_; }
    ReportViewer *CRViewer1() const { return CRViewer1_; }
    QPushButton *cmdPrint() const { return cmdPrint_; }
    // The template path the label records.
    QString templatePath() const;

    void GetSendToEmail();
    // Checks the addresses and sends the mail beside the window's thread; the success or error
    // box follows when the send has ended.
    void SendMailmod();
    bool isSending() const { return sending_; }
    void GetSendDirectWhatsapp();
    void PartnerInfo();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdPrint_Click();
    void cmdPrinterSetup_Click();
    void cmdPDF_Click();
    void lblRPTFileName_DblClick();
    // The commands' common start: the template from the label bound to the staged rows.
    std::shared_ptr<const ReportDocument> commonStart() const;
    QString messagingText() const;
    void showSending(bool sending);
    void placeButtonRow();

    QLabel *lblRPTFileName_ = nullptr;
    ReportViewer *CRViewer1_ = nullptr;
    QPushButton *cmdPrint_ = nullptr;
    QPushButton *cmdEmail_ = nullptr;
    QLineEdit *txtToEmail_ = nullptr;
    QLineEdit *txtMobile_ = nullptr;
    QLineEdit *txtDetails_ = nullptr;
    QLineEdit *txtBrandingWebsite_ = nullptr;
    QList<QPair<QPushButton *, int>> buttonRow_; // each button with its left on a wide window
    int labelWidth_ = 0;
    QString attachmentPath_;
    bool sending_ = false;
};

// Registers frmPrint1 with the window registry; it fills the main window's area.
void registerReportWindow();
