#include "ReportSamples.h"

#include "core/Module.h"
#include "ui/ReportHandOver.h"

#include <QProcess>

namespace ReportSamples {

void addCompany(const QString &mobile)
{
    Module::CompanyDb->execute("INSERT INTO Company (CompanyName, Address, Address2, city, phone, "
                               "mobile, TINNo, OT3, OT4) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                               {"Green Valley School", "12 Mall Road", "Near Clock Tower", "Shimla",
                                "0177-2650011", mobile, "TIN-4455", "library.gvs@gmail.com",
                                "secret-pass"});
}

QStringList templates()
{
    return {"BookList.rpt",
            "Card.rpt",
            "Report/Catalogue.rpt",
            "BookIssue.rpt",
            "BookReceipt.rpt",
            "Reports/PendingBook.rpt",
            "Reports/BookIssueRegister.rpt",
            "Reports/BookReceiveRegister.rpt",
            "Reports/Ledger.rpt"};
}

void stage(const QString &templatePath, int rows)
{
    using ReportHandOver::CompanyHeader;
    if (templatePath == "Report/Catalogue.rpt") {
        Module::StickerDb->execute("DELETE FROM Cake");
        for (int i = 1; i <= rows; ++i)
            Module::StickerDb->execute(
                "INSERT INTO Cake (CakeID, CakeName, FileName, OT3, OT6) VALUES (?, ?, ?, ?, ?)",
                {QString::number(1000 + i), QString("Wings of Fire %1").arg(i),
                 QString("B%1.jpg").arg(1000 + i), "A. P. J. Abdul Kalam", "Rack 4"});
        return;
    }
    const bool full = templatePath == "BookList.rpt" || templatePath == "Card.rpt" ||
                      templatePath == "Reports/Ledger.rpt";
    ReportHandOver::PrintingStage stage(full ? CompanyHeader::Full : CompanyHeader::Short);
    for (int i = 1; i <= rows; ++i) {
        const QString n = QString::number(i);
        if (templatePath == "BookList.rpt")
            stage.addRow({{"T2", n},
                          {"T3", QString::number(100 + i)},
                          {"T4", "05-Mar-24"},
                          {"T5", "The Discovery of India " + n},
                          {"T6", "Jawaharlal Nehru"},
                          {"T7", "History"},
                          {"T8", "Penguin"},
                          {"T9", "3rd"},
                          {"T10", "2004"},
                          {"T15", "250"},
                          {"T16", "954"},
                          {"T19", "Rack 2"}});
        else if (templatePath == "Card.rpt")
            stage.addRow({{"T1", QString::number(500 + i)},
                          {"T2", "Aarav Sharma " + n},
                          {"T3", "Class X"},
                          {"T4", "R-" + n},
                          {"T5", "Rakesh Sharma"},
                          {"T6", "Solan"},
                          {"T7", "Solan"},
                          {"T8", "98160 00000"}});
        else if (templatePath == "BookIssue.rpt")
            stage.addRow({{"T2", "Issue"},
                          {"T3", "05-Mar-24"},
                          {"T4", n},
                          {"T6", "501"},
                          {"T7", "112"},
                          {"T9", "Class X"},
                          {"T10", "Aarav Sharma"},
                          {"T11", "R-7"},
                          {"T12", "98160 00000"},
                          {"T14", "12"},
                          {"T15", "Godan"},
                          {"T16", "Premchand"},
                          {"T17", "Fiction"},
                          {"T18", "Rajkamal"},
                          {"T19", "2nd"},
                          {"T20", "1936"},
                          {"T21", "312"},
                          {"T22", "1"},
                          {"T23", "2"},
                          {"T24", "3"},
                          {"T25", "14"},
                          {"T26", "Return on time"}});
        else if (templatePath == "BookReceipt.rpt")
            stage.addRow({{"T1", "19-03-2024"},
                          {"T2", n},
                          {"T3", "501"},
                          {"T4", "112"},
                          {"T5", "Class X"},
                          {"T6", "Aarav Sharma"},
                          {"T7", "R-7"},
                          {"T10", "Godan"},
                          {"T11", "Premchand"},
                          {"T18", "4"},
                          {"T19", "8"},
                          {"T20", "77"},
                          {"T21", "Cover torn"},
                          {"T23", "2"},
                          {"T24", "3"},
                          {"T25", "14"},
                          {"T26", "Return on time"}});
        else if (templatePath == "Reports/PendingBook.rpt")
            stage.addRow({{"T1", QString::number(100 + i)},
                          {"T2", "Gitanjali"},
                          {"T3", "Rabindranath Tagore"},
                          {"T4", "Poetry"},
                          {"T5", "Macmillan"},
                          {"T6", "Meera Nair"},
                          {"T7", "503"},
                          {"T8", "01-Mar-24"},
                          {"T9", "R-9"},
                          {"T10", "1st"},
                          {"T16", "PENDING BOOK LIST"},
                          {"N1", i}});
        else if (templatePath == "Reports/BookIssueRegister.rpt")
            stage.addRow({{"T1", "04-03-2024"},
                          {"T2", n},
                          {"T3", "501"},
                          {"T4", "112"},
                          {"T5", "Aarav Sharma"},
                          {"T6", "R-7"},
                          {"T7", "Godan"},
                          {"T8", "Premchand"},
                          {"T16", "BOOK ISSUE REGISTER"},
                          {"T17", "01-03-2024 To 31-03-2024"},
                          {"N1", i}});
        else if (templatePath == "Reports/BookReceiveRegister.rpt")
            stage.addRow({{"T1", "19-03-2024"},
                          {"T2", n},
                          {"T3", "501"},
                          {"T4", "112"},
                          {"T5", "Aarav Sharma"},
                          {"T6", "R-7"},
                          {"T7", "Godan"},
                          {"T8", "4"},
                          {"T9", "8"},
                          {"T10", "77"},
                          {"T16", "BOOK RECEIPT REGISTER"},
                          {"T17", "01-03-2024 To 31-03-2024"},
                          {"N1", i}});
        else if (templatePath == "Reports/Ledger.rpt")
            stage.addRow({{"T1", "Premchand"},
                          {"T2", "Godan"},
                          {"T3", "112"},
                          {"T4", "04-03-2024"},
                          {"T5", "19-03-2024"},
                          {"T6", "4"},
                          {"T7", "8"},
                          {"T8", "77"},
                          {"T9", "Cover torn"}});
    }
    stage.commit();
}

QString pdfText(const QString &pdfPath)
{
    QProcess process;
    process.start("pdftotext", {"-layout", pdfPath, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace ReportSamples
