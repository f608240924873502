#include "core/data/DataFolder.h"
#include "core/data/Settings.h"
#include "core/download/FetchCommand.h"
#include "core/platform/Platform.h"
#include "gui/app/StartUp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

namespace {

const char kHelp[] =
    "用法 Usage: quorvex [--data 資料夾 DIR]\n"
    "       quorvex --fetch [YYYMMDD|today] [--basis 合計|外資|投信|自營商] [--top N] [--replace]\n"
    "       quorvex --fetch-range YYYMMDD YYYMMDD [--basis ...] [--top N]\n"
    "\n"
    "  --data DIR     資料檔所在的資料夾 / the folder of the data file (Quorvex.mdb)\n"
    "  --fetch        下載並儲存一天的三大法人買賣超 / download and store one day's lists\n"
    "  --fetch-range  下載並儲存期間內尚無資料的每個交易日 / the same for each missing weekday\n"
    "  --version      顯示版本 / print the version\n"
    "  --help         顯示此說明 / print this help\n";

} // namespace

int main(int argc, char* argv[])
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const bool commandLine = words.contains(QStringLiteral("--version")) || words.contains(QStringLiteral("--help"));
    if (commandLine || IsFetchCommand(words))
        ConnectToParentConsole();
    if (commandLine) {
        QTextStream out(stdout);
        if (words.contains(QStringLiteral("--help")))
            out << kHelp << '\n' << FetchExitCodes() << '\n';
        else
            out << "Quorvex " << VersionNumber() << '\n';
        return 0;
    }
    // A scheduled download runs without a display: no window, no login.
    if (IsFetchCommand(words)) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QString error;
        const QString folder = ChooseDataFolder(QCoreApplication::applicationDirPath(), words, &error);
        if (folder.isEmpty()) {
            out << error << '\n';
            return 1;
        }
        InitSettings(folder);
        return RunFetchCommand(QCoreApplication::arguments(), folder, out);
    }
    QApplication app(argc, argv);
    SetUpApplication(app);
    QString error;
    const QString folder = ChooseDataFolder(QCoreApplication::applicationDirPath(), words, &error);
    return StartRoutine(app, folder, error);
}
