#pragma once

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "core/Module.h"
#include "ui/WindowRegistry.h"

#include <QString>

// The record loaders that connect the lists to the entry windows. A list stores the chosen row's
// key in SelectedRecordID and calls the loader; the loader loads and shows its entry window when it
// is not open, then fills it in update mode. A failure shows the loaders' error box (no icon, the
// program's title) and leaves the window as the failure found it.
//
//     void LoadBookForUpdate() { RecordLoader::load<frmBook>("frmBook", &frmBook::loadRecord); }
namespace RecordLoader {

// The loader of a list that hands its key over directly rather than through SelectedRecordID.
template <typename Window, typename Key>
Window *load(const QString &windowName, void (Window::*fill)(Key key), Key key)
{
    try {
        auto *window = WindowRegistry::show<Window>(windowName);
        if (window)
            (window->*fill)(key);
        return window;
    } catch (const AppError &error) {
        Dialogs::message(error.boxText());
        return WindowRegistry::find<Window>(windowName);
    }
}

template <typename Window> Window *load(const QString &windowName, void (Window::*fill)(double key))
{
    return load<Window, double>(windowName, fill, Module::SelectedRecordID);
}

// What a list does on Enter or a double-click on a row: store the key, then call the loader.
template <typename Loader> void open(double key, Loader loader)
{
    Module::SelectedRecordID = key;
    loader();
}

} // namespace RecordLoader
