#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads CSV text per RFC 4180 (CR LF record ends, quoted fields that may hold
// commas, quotes and line breaks), independently of the writer under test.
inline QList<QStringList> ReadCsvRecords(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            record.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            record.append(field);
            records.append(record);
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return records;
}

// Whether a spreadsheet would run a cell as a formula (some skip a leading
// tab or CR before one).
inline bool BeginsLikeFormula(const QString& cell) {
    return !cell.isEmpty() && QStringLiteral("=+-@\t\r").contains(cell.front());
}

// A text as its CSV cell must read back: as it is, or behind an apostrophe
// that keeps a spreadsheet from running it.
inline QString AsCsvCell(const QString& text) {
    return BeginsLikeFormula(text) ? u'\'' + text : text;
}
