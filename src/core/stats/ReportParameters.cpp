#include "core/stats/ReportParameters.h"

QString gRptDateFrom;
QString gRptDateTo;
QString gRptBaseDate;
int gRptSkipSingle = 0;

const QString kOpenRangeEnd = QStringLiteral("9999999");
