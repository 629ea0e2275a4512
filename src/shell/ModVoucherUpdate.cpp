#include "shell/ModVoucherUpdate.h"

#include "controls/ribbon/RibbonMenu.h"

void LoadRibbonMenu(RibbonMenu &ribbon)
{
    ribbon.setVisible(false);
    ribbon.Refresh();
    ribbon.AddTab(QStringLiteral("1"), QStringLiteral("Library"));
    ribbon.AddCat(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("Master"), false);
    ribbon.AddCat(QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("Transaction"), true);
    ribbon.AddCat(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("Library Info."), true);

    struct Button
    {
        const char *id;
        const char *category;
        const char *caption;
    };
    static const Button buttons[] = {
        {"0", "1", "New Book Entry"}, {"1", "1", "Library Card"},      {"2", "1", "Group"},
        {"3", "2", "List of Books"},  {"4", "2", "Book Issue"},        {"5", "2", "Issue Register"},
        {"6", "2", "Book Received"},  {"7", "2", "Received Register"}, {"8", "2", "Ledger"},
        {"9", "2", "Pending Book"},   {"10", "3", "Library Info."},    {"11", "3", "Users"},
    };
    int picture = 1;
    for (const Button &b : buttons)
        ribbon.AddButton(QLatin1String(b.id), QLatin1String(b.category), QLatin1String(b.caption),
                         picture++);
    ribbon.setVisible(true);
    ribbon.Refresh();
}
