#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The text of a file as the exchanges and spreadsheet programs save it:
// UTF-8 with or without a byte-order mark, UTF-16 with one, Big5 (CP950)
// otherwise. Empty with `error` set when the bytes are none of these.
QString DecodeCsvText(const QByteArray& bytes, QString* error);

// RFC 4180 records: fields separated by commas, quoted fields may hold
// commas, doubled quotes and line breaks; lines end with CRLF or LF, and
// the last one may have no line break. Field texts are returned as they
// stand (quotes removed, nothing trimmed).
QVector<QStringList> ParseCsv(const QString& text);

// A field as the exchanges write it: trimmed, and freed of the ="..." that
// keeps a leading zero in spreadsheet programs.
QString CsvCell(const QString& field);

// Digits, optionally followed by upper-case letters: 2330, 2881A, 00632R.
bool IsStockCode(const QString& code);

// Reads, decodes and parses the file at `path`; empty with `error` set when it
// cannot be read, is larger than `largest` bytes (`tooLarge` says so) or is no text.
QVector<QStringList> ReadCsvFile(const QString& path, qint64 largest, const QString& tooLarge, QString* error);
