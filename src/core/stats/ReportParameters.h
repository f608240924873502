#pragma once

#include <QString>

// Written by a statistics screen just before its report runs, read by the report.
extern QString gRptDateFrom;
extern QString gRptDateTo;
extern QString gRptBaseDate;
extern int gRptSkipSingle;

// The end of a range whose end box was left empty: after every stored date.
extern const QString kOpenRangeEnd;
