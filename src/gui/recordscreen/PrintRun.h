#pragma once

#include "core/stats/Report.h"
#include "gui/uikit/MessageBox.h"

#include <functional>
#include <optional>

class QWidget;

namespace db {
class Connection;
}

// How a screen words the end of a print run.
struct PrintRunTexts {
    QString nothingSelected;   // shown under "訊息"
    MsgIcon nothingIcon;
    MsgIcon failureIcon;       // for a failure under "印表錯誤"
};

// The print panel's run: `build` reads the chosen records in one read
// transaction and lays them out (nullopt when nothing was chosen), then the
// report goes to the printer or the preview.
void RunPrintList(QWidget* parent, bool preview,
                  const std::function<std::optional<PaginatedReport>(db::Connection&)>& build,
                  const PrintRunTexts& texts);
