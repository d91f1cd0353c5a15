// Builds the HTML table from arbitrary window texts and checks the file's
// bytes: 99 lines, each ending in CR LF (and the one more line break the file
// ends with); only bytes that Windows-1252 defines; the table's own markup
// exactly as for an empty window; and every value written as text, so that
// reading its cell back (character references resolved, bytes decoded as
// Windows-1252) gives the value again and no "<", ">", '"' or bare "&" of a
// value is left for a browser to take as markup.
//
// Input layout: as fuzz::SplitTexts reads texts, first the results frame
// caption, then the nineteen slot values, then the three codes.

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <optional>

#include "decode/captions.h"
#include "decode/program.h"
#include "report/html_table.h"
#include "support/fuzz_texts.h"

namespace {

using namespace varnel;
using fuzz::Expect;
using fuzz::Writable;

constexpr int kTextCount = 1 + kFieldCount + kCodeBoxCount;
constexpr int kTableLines = 99;

// The sheet holding the given texts: caption, the nineteen values, the three
// codes; texts the input does not reach stay empty.
Sheet SheetOf(const QList<QString>& texts) {
    Sheet sheet;
    sheet.caption = texts.value(0);
    for (std::size_t slot = 0; slot < sheet.values.size(); ++slot) {
        sheet.values[slot] = ShortText(texts.value(1 + static_cast<qsizetype>(slot)));
    }
    for (std::size_t box = 0; box < sheet.codes.size(); ++box) {
        sheet.codes[box] = texts.value(1 + kFieldCount + static_cast<qsizetype>(box));
    }
    return sheet;
}

// The line of the table that holds text i (caption, slots, codes), counted from 0.
int LineOfText(int text) {
    if (text == 0) {
        return 2;
    }
    if (text <= kFieldCount) {
        return 6 + 4 * (text - 1);
    }
    return 85 + 4 * (text - 1 - kFieldCount);
}

// The file's lines; fails unless there are exactly 99 of them, each ending in
// CR LF, followed by the file's closing line break and nothing else.
QList<QByteArray> SplitLines(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\n');
    Expect(lines.size() == kTableLines + 2 && lines[kTableLines] == "\r" && lines.back().isEmpty(),
           "the file is not 99 lines and one line break");
    lines.resize(kTableLines);
    for (QByteArray& line : lines) {
        Expect(line.endsWith('\r'), "a line does not end in CR LF");
        line.chop(1);
        Expect(!line.contains('\r'), "a CR stands inside a line");
    }
    return lines;
}

void CheckCodePage(const QByteArray& file) {
    for (const char byte : file) {
        const auto b = static_cast<std::uint8_t>(byte);
        Expect(b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D,
               "a byte that Windows-1252 leaves undefined");
    }
}

// The character a reference at the start of text stands for, and its length;
// nothing when the "&" starts no reference.
std::optional<std::pair<char32_t, qsizetype>> ReadReference(QByteArrayView text) {
    constexpr std::pair<const char*, char32_t> kNamed[] = {
        {"&amp;", U'&'}, {"&lt;", U'<'}, {"&gt;", U'>'}, {"&quot;", U'"'}};
    for (const auto& [name, character] : kNamed) {
        if (text.startsWith(QByteArrayView(name))) {
            return std::pair{character, QByteArrayView(name).size()};
        }
    }
    if (!text.startsWith("&#")) {
        return std::nullopt;
    }
    qsizetype end = 2;
    char32_t number = 0;
    while (end < text.size() && end < 10 && text[end] >= '0' && text[end] <= '9') {
        number = number * 10 + static_cast<char32_t>(text[end++] - '0');
    }
    if (end == 2 || end >= text.size() || text[end] != ';' || number > 0x10FFFF) {
        return std::nullopt;
    }
    return std::pair{number, end + 1};
}

// A cell's text read back as a browser reads it; fails on markup characters
// left raw and on an "&" that starts no reference.
QString ReadCell(QByteArrayView cell) {
    static QStringDecoder codePage("windows-1252");
    QString text;
    qsizetype plain = 0;
    for (qsizetype i = 0; i < cell.size();) {
        const char c = cell[i];
        Expect(c != '<' && c != '>' && c != '"', "a markup character of a value left raw");
        if (c != '&') {
            ++i;
            continue;
        }
        text.append(codePage.decode(cell.sliced(plain, i - plain)));
        const auto reference = ReadReference(cell.sliced(i));
        Expect(reference.has_value(), "an & of a value that starts no reference");
        // One character for one reference: not through a UTF-32 decoder,
        // which would take a byte-order mark for its own.
        text.append(QChar::fromUcs4(reference->first));
        i += reference->second;
        plain = i;
    }
    text.append(codePage.decode(cell.sliced(plain)));
    return text;
}

// The lines of the table for a window without values, and where each value
// line takes its value: right after the cell's leading blank.
struct Markup {
    QList<QByteArray> lines;
    qsizetype valueAt[kTextCount];
};

const Markup& EmptyTable() {
    static const Markup markup = [] {
        Markup m;
        m.lines = SplitLines(report::EncodeTableFile(report::BuildDefaultTable(SheetOf({}))));
        for (int t = 0; t < kTextCount; ++t) {
            const QByteArray& line = m.lines[LineOfText(t)];
            m.valueAt[t] = line.indexOf("</", line.indexOf("&nbsp;"));
        }
        return m;
    }();
    return markup;
}

void CheckValues(const QList<QByteArray>& lines, const QList<QString>& texts) {
    const Markup& markup = EmptyTable();
    int text = 0;
    for (int i = 0; i < kTableLines; ++i) {
        const QByteArray& empty = markup.lines[i];
        if (text == kTextCount || i != LineOfText(text)) {
            Expect(lines[i] == empty, "the table's own markup changed");
            continue;
        }
        const qsizetype at = markup.valueAt[text];
        const qsizetype tail = empty.size() - at;
        const QByteArray& line = lines[i];
        Expect(line.size() >= empty.size() && line.startsWith(empty.first(at)) &&
                   line.endsWith(empty.sliced(at)),
               "the markup around a value changed");
        const QByteArrayView cell = QByteArrayView(line).sliced(at, line.size() - at - tail);
        Expect(ReadCell(cell) == Writable(texts.value(text)),
               "a value does not read back as it went in");
        ++text;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    SetApplicationIdentity();
    Expect(QStringDecoder("windows-1252").isValid(),
           "no Windows-1252 decoder to read the table back with");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QList<QString> texts = fuzz::SplitTexts(data, size);
    // A value is at most as long as a sheet holds; no stage writes a longer one.
    for (qsizetype i = 1; i <= kFieldCount && i < texts.size(); ++i) {
        texts[i].truncate(ShortText::kCapacity);
    }
    const QByteArray file = report::EncodeTableFile(report::BuildDefaultTable(SheetOf(texts)));
    CheckCodePage(file);
    CheckValues(SplitLines(file), texts);
    return 0;
}
