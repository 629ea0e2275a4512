#include "ui/StartApplication.h"

#include "core/AppError.h"
#include "core/ApplicationDatabases.h"
#include "core/Dialogs.h"
#include "ui/WindowRegistry.h"

bool StartApplication()
{
    try {
        OpenApplicationDatabases();
    } catch (const AppError &error) {
        Dialogs::message(error.boxText(), Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return false;
    }
    // Where companies are made; a folder that cannot be made is reported by the picker's walk.
    MakeDataFolder();
    SetSystemShortDateFormat();
    WindowRegistry::show(QStringLiteral("frmSplash"));
    return true;
}
