// Writes a Quorvex.mdb with ten years of realistic lists into a folder, for
// trying the program on a full database: generate_data <folder>
#include "BenchData.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2 || QDir(QString::fromLocal8Bit(argv[1])).exists(QStringLiteral("Quorvex.mdb"))) {
        std::fprintf(stderr, "usage: generate_data <folder without a Quorvex.mdb>\n");
        return 2;
    }
    const long long rows = GenerateBenchData(QString::fromLocal8Bit(argv[1]));
    std::printf("%lld detail rows written\n", rows);
    return 0;
}
