#pragma once

#include <QIcon>

// A printer, for the print keys: the style has none among its standard pixmaps.
QIcon PrinterIcon();
