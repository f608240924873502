#pragma once

#include "core/download/DayDownload.h"

class QWidget;

// Downloads the two institutional files of `date` (settings from the data
// folder's Quorvex.ini) under a progress window whose 取消 stops at once.
DownloadedDay DownloadDayWithProgress(QWidget* parent, const QDate& date);
