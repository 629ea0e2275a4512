#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QMdiArea;
class QMdiSubWindow;

// Each window exists at most once. Showing a window that is open brings it forward with its
// contents; the registry also keeps the order in which windows were loaded.
namespace WindowRegistry {

using Factory = std::function<QWidget *()>;

enum class Placement { TopLeft, Centred, Fill, Alone };

void registerWindow(const QString &name, Factory factory, Placement placement = Placement::TopLeft);
bool isRegistered(const QString &name);

// The open window of that name, or nullptr.
QWidget *find(const QString &name);
template <typename T> T *find(const QString &name)
{
    return qobject_cast<T *>(find(name));
}

// Loads the window if it is not open (a child of the main window's area when there is one), shows
// it and brings it forward. Returns nullptr for a name that no window registered.
QWidget *show(const QString &name);
template <typename T> T *show(const QString &name)
{
    return qobject_cast<T *>(show(name));
}

// Loads without showing (a window whose controls code touches before it shows).
QWidget *load(const QString &name);

// Closes the open window of that name, if any.
void close(const QString &name);

// Names of the loaded windows, first loaded first.
QStringList loadOrder();
QString lastLoaded();

// The main window's area that holds the child windows.
void setMdiArea(QMdiArea *area);
QMdiArea *mdiArea();

// Forgets every open window and factory (tests).
void reset();

} // namespace WindowRegistry
