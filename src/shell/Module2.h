#pragma once

#include <QPrinterInfo>

// The system's default printer among the print queues it offers; a null QPrinterInfo when there is
// none or it is not among them.
QPrinterInfo DefaultPrinterObject();
