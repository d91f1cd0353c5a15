#include "report/sheet_formats.h"

#include <algorithm>

#include "decode/captions.h"

namespace varnel::report {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Appends the text as UTF-8. Runs of ASCII characters for which isPlain
// holds are copied in bulk, as nearly every character of a marking's results
// is one; every other code point goes to special. A lone surrogate half
// cannot be written as UTF-8 and becomes U+FFFD, as Qt's own converter does.
template <typename IsPlain, typename Special>
void Encode(std::string& out, QStringView text, IsPlain isPlain, Special special) {
    const char16_t* const chars = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype runEnd = i;
        while (runEnd < n && chars[runEnd] < 0x80 && isPlain(chars[runEnd])) {
            ++runEnd;
        }
        if (runEnd > i) {
            const std::size_t at = out.size();
            out.resize(at + static_cast<std::size_t>(runEnd - i));
            std::copy(chars + i, chars + runEnd, out.begin() + static_cast<std::ptrdiff_t>(at));
            i = runEnd;
            continue;
        }
        const char16_t u = chars[i++];
        if (!QChar::isSurrogate(u)) {
            special(char32_t{u});
        } else if (QChar::isHighSurrogate(u) && i < n && QChar::isLowSurrogate(chars[i])) {
            special(QChar::surrogateToUcs4(u, chars[i++]));
        } else {
            special(char32_t{0xFFFD});
        }
    }
}

void AppendJsonString(std::string& out, QStringView text) {
    out.push_back('"');
    Encode(
        out, text, [](char16_t c) { return c >= 0x20 && c != u'"' && c != u'\\'; },
        [&out](char32_t c) {
            switch (c) {
                case U'"':
                    out += "\\\"";
                    break;
                case U'\\':
                    out += "\\\\";
                    break;
                case U'\n':
                    out += "\\n";
                    break;
                case U'\r':
                    out += "\\r";
                    break;
                case U'\t':
                    out += "\\t";
                    break;
                case U'\uFEFF':
                    // Raw at the start of a string, Qt's JSON reader takes it
                    // for a byte-order mark and drops it.
                    out += "\\ufeff";
                    break;
                default:
                    if (c < 0x20) {
                        out += "\\u00";
                        out.push_back(kHexDigits[c >> 4]);
                        out.push_back(kHexDigits[c & 0xF]);
                    } else {
                        AppendCodePoint(out, c);
                    }
            }
        });
    out.push_back('"');
}

void AppendCsvField(std::string& out, QStringView text) {
    const bool quoted = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!quoted) {
        AppendUtf8(out, text);
        return;
    }
    out.push_back('"');
    Encode(
        out, text, [](char16_t c) { return c != u'"'; },
        [&out](char32_t c) {
            if (c == U'"') {
                out.push_back('"');
            }
            AppendCodePoint(out, c);
        });
    out.push_back('"');
}

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return "information";
        case MessageIcon::Exclamation:
            return "exclamation";
        case MessageIcon::Critical:
            return "critical";
        case MessageIcon::None:
            break;
    }
    return "none";
}

const char* ButtonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return "YesNo";
        case MessageButtons::YesNoCancel:
            return "YesNoCancel";
        case MessageButtons::Ok:
            break;
    }
    return "OK";
}

QStringView View(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void AppendUtf8(std::string& out, QStringView text) {
    Encode(
        out, text, [](char16_t) { return true; }, [&out](char32_t c) { AppendCodePoint(out, c); });
}

QString MessagesAsText(const Sheet& sheet) {
    QString text;
    for (const Message& message : sheet.messages) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        text += message.title + QStringLiteral(": ") + message.text;
    }
    return text;
}

void AppendTextReport(std::string& out, const Sheet& sheet) {
    std::size_t width = 0;
    for (const std::u16string_view caption : kResultCaptions) {
        width = std::max(width, caption.size());
    }
    AppendUtf8(out, sheet.caption);
    out.push_back('\n');
    for (std::size_t slot = 0; slot < kResultCaptions.size(); ++slot) {
        AppendUtf8(out, View(kResultCaptions[slot]));
        out.push_back(':');
        if (!sheet.values[slot].isEmpty()) {
            out.append(width - kResultCaptions[slot].size() + 1, ' ');
            AppendUtf8(out, sheet.values[slot]);
        }
        out.push_back('\n');
    }
}

void AppendJsonObject(std::string& out, const Sheet& sheet, QStringView refusal) {
    out += "{\"codes\":[";
    for (std::size_t box = 0; box < sheet.codes.size(); ++box) {
        if (box != 0) {
            out.push_back(',');
        }
        AppendJsonString(out, sheet.codes[box]);
    }
    out += "],\"caption\":";
    AppendJsonString(out, sheet.caption);
    out += sheet.completed ? ",\"completed\":true" : ",\"completed\":false";
    out += ",\"slots\":[";
    // The captions never change: their JSON is written once.
    static const std::array<std::string, kFieldCount> kSlotOpenings = [] {
        std::array<std::string, kFieldCount> openings;
        for (std::size_t slot = 0; slot < openings.size(); ++slot) {
            openings[slot] = slot == 0 ? "{\"caption\":" : ",{\"caption\":";
            AppendJsonString(openings[slot], View(kResultCaptions[slot]));
            openings[slot] += ",\"value\":";
        }
        return openings;
    }();
    for (std::size_t slot = 0; slot < kResultCaptions.size(); ++slot) {
        out += kSlotOpenings[slot];
        AppendJsonString(out, sheet.values[slot]);
        out.push_back('}');
    }
    out += "],\"messages\":[";
    for (qsizetype i = 0; i < sheet.messages.size(); ++i) {
        const Message& message = sheet.messages[i];
        out += i == 0 ? "{\"title\":" : ",{\"title\":";
        AppendJsonString(out, message.title);
        out += ",\"text\":";
        AppendJsonString(out, message.text);
        out += ",\"icon\":\"";
        out += IconName(message.icon);
        out += "\",\"buttons\":\"";
        out += ButtonsName(message.buttons);
        out += "\"}";
    }
    out.push_back(']');
    if (!refusal.isEmpty()) {
        out += ",\"error\":";
        AppendJsonString(out, refusal);
    }
    out.push_back('}');
}

void AppendCsvHeader(std::string& out) {
    out += "code1,code2,code3,family";
    for (const std::u16string_view caption : kResultCaptions) {
        out.push_back(',');
        AppendCsvField(out, View(caption));
    }
    out += ",completed,messages\r\n";
}

void AppendCsvRow(std::string& out, const Sheet& sheet, QStringView refusal) {
    for (const QString& code : sheet.codes) {
        AppendCsvField(out, code);
        out.push_back(',');
    }
    if (sheet.completed) {
        AppendCsvField(out, sheet.caption);
    }
    for (const ShortText& value : sheet.values) {
        out.push_back(',');
        AppendCsvField(out, value);
    }
    out += sheet.completed ? ",true," : ",false,";
    AppendCsvField(out, refusal.isEmpty() ? MessagesAsText(sheet) : refusal);
    out += "\r\n";
}

}  // namespace varnel::report
