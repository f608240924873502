#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "gui/app/StartUp.h"

// Runs every test inside a QApplication, so widget tests drive real widgets.
int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    SetUpApplication(app);
    return RUN_ALL_TESTS();
}
