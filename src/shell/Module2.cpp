#include "shell/Module2.h"

QPrinterInfo DefaultPrinterObject()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty())
        return QPrinterInfo();
    for (const QPrinterInfo &printer : QPrinterInfo::availablePrinters())
        if (printer.printerName() == name)
            return printer;
    return QPrinterInfo();
}
