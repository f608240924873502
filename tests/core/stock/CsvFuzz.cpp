// Hostile input for the file readers: random byte strings shaped like CSV
// files (quotes, commas, line ends, byte-order marks, multi-byte text,
// binary bytes) through decoding, parsing and the stock mapping, and random
// texts through the ROC date parser. Any crash, hang or sanitizer report is
// a failure; so is a result that breaks the readers' promises.
//   fuzz_csv <inputs> <seed>
#include "core/stock/CsvReader.h"
#include "core/stock/StockImport.h"
#include "core/text/RocDate.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>
#include <random>

namespace {

QByteArray RandomInput(std::mt19937& random)
{
    static const QByteArray pieces[] = {",", "\"", "\r\n", "\n", "\r", "=", "\"\"", " ", "2330", "0050", "A",
                                        "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xE8\xAD\x89", "\xA5\x78",
                                        "\xB9\xDA", "\0", "\x80", "\xFF", "1,234.5", "-", "代號", "名稱",
                                        "本益比", "殖利率", "股價淨值比", "1000125", "991231"};
    const int count = static_cast<int>(random() % 200);
    QByteArray input;
    for (int i = 0; i < count; ++i) {
        if (random() % 4 == 0)
            input += static_cast<char>(random() % 256);
        else
            input += pieces[random() % std::size(pieces)];
    }
    return input;
}

bool Check(const QByteArray& input)
{
    static const QRegularExpression code(QStringLiteral("^[0-9]+[A-Z]*$"));
    QString error;
    const QString text = DecodeCsvText(input, &error);
    if (!error.isEmpty() && !text.isEmpty())
        return false;
    for (const QStringList& record : ParseCsv(text)) {
        if (record.isEmpty())
            return false;
        for (const QString& field : record)
            CheckRocDate(field);
    }
    QString refused;
    for (const ImportedStock& stock : StocksFromRecords(ParseCsv(text), &refused).stocks) {
        if (!code.match(stock.code).hasMatch() || stock.code.size() > 10 || stock.name.size() > 10
            || stock.priceEarnings.size() > 10)
            return false;
    }
    const QString date = QString::fromLatin1(input.left(9));
    const QDate parsed = DateFromRoc(date);
    return !parsed.isValid() || RocDateText(parsed).endsWith(date.right(4));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long inputs = argc > 1 ? std::atol(argv[1]) : 10000;
    std::mt19937 random(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1);
    for (long i = 0; i < inputs; ++i) {
        const QByteArray input = RandomInput(random);
        if (!Check(input)) {
            std::fprintf(stderr, "input %ld broke a promise: %s\n", i, input.toHex().constData());
            return 1;
        }
    }
    std::printf("%ld inputs, no failure\n", inputs);
    return 0;
}
