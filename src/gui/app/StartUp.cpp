#include "gui/app/StartUp.h"

#include "core/data/Schema.h"
#include "core/data/Settings.h"
#include "core/platform/ProcessDefaults.h"
#include "gui/app/MainMenu.h"
#include "gui/app/MenuIcons.h"
#include "gui/app/SingleInstance.h"
#include "gui/system/LoginScreen.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/ProgramEnd.h"
#include "gui/uikit/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QFont>

void SetUpApplication(QApplication& app)
{
    SetProcessDefaults();
    QFont font(QStringLiteral("Noto Sans CJK TC"), 10);
    app.setFont(font);

    InstallQtTranslations(app);
    app.setApplicationName(QStringLiteral("Quorvex"));
    app.setApplicationDisplayName(QString());
    app.setApplicationVersion(VersionNumber());
    app.setWindowIcon(MenuIcon(MenuGlyph::BuyCount));
}

int StartRoutine(QApplication& app, const QString& dataFolder, const QString& folderError)
{
    if (dataFolder.isEmpty()) {
        ShowError(folderError, QStringLiteral("Quorvex"));
        return 1;
    }
    InitSettings(dataFolder);

    SingleInstance instance;
    if (!instance.acquire())
        return 0;

    // Windows close and open while the program runs; only EndProgram ends it.
    app.setQuitOnLastWindowClosed(false);
    {
        frm登入畫面 login;
        login.exec();
    }
    if (!gLoginOk || ProgramIsEnding())
        return 0;
    // A wrong shared-folder path must not go unnoticed behind an empty database.
    const QString created = db::TakeCreatedDatabaseFile();
    if (!created.isEmpty())
        ShowInfo(QStringLiteral("已建立新的資料庫檔案: ") + QDir::toNativeSeparators(created), QStringLiteral("訊息"));

    auto* menu = new frm主畫面;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->show();
    return app.exec();
}
