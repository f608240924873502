#include "core/platform/ProcessDefaults.h"

#include <QGuiApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Runs every test of the core inside a QGuiApplication: reports need fonts
// and paint devices, and nothing here needs a widget.
int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    SetProcessDefaults();
    app.setApplicationName(QStringLiteral("Quorvex"));
    return RUN_ALL_TESTS();
}
