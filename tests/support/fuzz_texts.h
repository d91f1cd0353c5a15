#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzzers share: a broken invariant stops the run loudly, inputs
// are read as texts the same way, and a text is compared as a file can hold it.
namespace varnel::fuzz {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "fuzzer: %s\n", what);
    std::abort();
}

inline void Expect(bool holds, const char* what) {
    if (!holds) {
        Fail(what);
    }
}

// Raw UTF-16 (which reaches lone surrogates), cut at each unit 0xFFFF.
inline QList<QString> Utf16Texts(const std::uint8_t* data, std::size_t size) {
    QString all(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < size / 2; ++i) {
        all[static_cast<qsizetype>(i)] =
            QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    }
    return all.split(QChar(0xFFFF));
}

// The first byte chooses how the rest is read: bit 0 set, as Utf16Texts;
// otherwise UTF-8 (invalid sequences replaced) cut at each 0xFF byte, which
// valid UTF-8 never holds.
inline QList<QString> SplitTexts(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return {};
    }
    if ((data[0] & 1) != 0) {
        return Utf16Texts(data + 1, size - 1);
    }
    QList<QString> texts;
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    for (const QByteArray& piece : rest.split('\xFF')) {
        texts.append(QString::fromUtf8(piece));
    }
    return texts;
}

// Half a surrogate pair names no character: a file holds U+FFFD instead.
inline QString Writable(const QString& text) {
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i].isHighSurrogate() && i + 1 < result.size() &&
            result[i + 1].isLowSurrogate()) {
            ++i;
        } else if (result[i].isSurrogate()) {
            result[i] = QChar::ReplacementCharacter;
        }
    }
    return result;
}

}  // namespace varnel::fuzz
