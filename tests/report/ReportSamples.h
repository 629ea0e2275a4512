#pragma once

#include "ProgramTest.h"

#include <QString>
#include <QStringList>

// Sample rows staged the way each printing window stages them, for the report tests.
namespace ReportSamples {

// The open company's Company row (the report header).
void addCompany(const QString &mobile = QStringLiteral("98140 12345"));

// The nine templates, relative to the program folder.
QStringList templates();

// Stages rows for a template as its printing window would (stickers fill Cake instead).
void stage(const QString &templatePath, int rows);

// The text of a PDF, read with pdftotext.
QString pdfText(const QString &pdfPath);

} // namespace ReportSamples

// A test with the application databases open and a company whose header every report prints.
class ReportCompanyTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        makeCompany(path("Data/Data 1"));
        ReportSamples::addCompany();
    }
};
