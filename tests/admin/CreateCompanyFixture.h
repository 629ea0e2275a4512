#pragma once

#include "ProgramTest.h"
#include "WaitFor.h"

#include "admin/AdminWindows.h"
#include "admin/frmCreateCompany.h"
#include "controls/button/StyledButton.h"
#include "ui/WindowRegistry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>

// The creation window in a main window's area, with a stand-in company picker that counts how often
// it is shown.
class CreateCompanyFixture : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        openApplicationDatabases();
        registerAdminWindows();
        pickerShows = 0;
        WindowRegistry::registerWindow(frmCreateCompany::PickerName, [this] {
            ++pickerShows;
            return new QWidget;
        });
        area = new QMdiArea;
        area->resize(1000, 700);
        area->show();
        WindowRegistry::setMdiArea(area);
    }

    void TearDown() override
    {
        // Popups of the window's combo and date boxes are top-level widgets owned by the window:
        // gone with the area, before the base deletes what is left.
        delete area;
        ProgramTest::TearDown();
    }

    frmCreateCompany *open()
    {
        auto *window = WindowRegistry::show<frmCreateCompany>("frmCreateCompany");
        EXPECT_TRUE(activate(area));
        return window;
    }

    template <typename T = QLineEdit> T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_TRUE(found) << name;
        return found;
    }

    // Fills what the checks ask for.
    void fillRequired(QWidget *window, const QString &name = "Green Valley School")
    {
        control(window, "txtCompanyName")->setText(name);
        control<QComboBox>(window, "txtState")->setEditText("Punjab");
        control(window, "txtstatecode")->setText("03");
        control(window, "txtMobile")->setText("9876543210");
    }

    void clickSave(QWidget *window) { emit control<StyledButton>(window, "cmdsave")->Click(); }

    static bool isOpen(const char *name) { return WindowRegistry::find(name) != nullptr; }

    QPointer<QMdiArea> area;
    int pickerShows = 0;
};
