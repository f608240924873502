#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <functional>
#include <vector>

// The text of a file as the exchanges and spreadsheet programs save it:
// UTF-8 with or without a byte-order mark, UTF-16 with one, Big5 (CP950)
// otherwise. Empty with `error` set when the bytes are none of these.
QString DecodeCsvText(const QByteArray& bytes, QString* error);

// RFC 4180 records: fields separated by commas, quoted fields may hold
// commas, doubled quotes and line breaks; lines end with CRLF or LF, and
// the last one may have no line break. Field texts are returned as they
// stand (quotes removed, nothing trimmed).
QVector<QStringList> ParseCsv(const QString& text);

// The same records one by one, without a copy of each field: `visit` gets
// views into `text` (or into scratch space for a field that had doubled
// quotes) that last until it returns. Stops when `visit` returns false.
using CsvRecord = std::vector<QStringView>;
void ForEachCsvRecord(QStringView text, const std::function<bool(const CsvRecord&)>& visit);

// A field as the exchanges write it: trimmed, and freed of the ="..." that
// keeps a leading zero in spreadsheet programs.
QString CsvCell(const QString& field);
QStringView CsvCell(QStringView field);

// Digits, optionally followed by upper-case letters: 2330, 2881A, 00632R.
bool IsStockCode(const QString& code);

// Reads and decodes the file at `path`; empty with `error` set when it cannot
// be read, is larger than `largest` bytes (`tooLarge` says so) or is no text.
QString ReadCsvText(const QString& path, qint64 largest, const QString& tooLarge, QString* error);
// The same, parsed.
QVector<QStringList> ReadCsvFile(const QString& path, qint64 largest, const QString& tooLarge, QString* error);
