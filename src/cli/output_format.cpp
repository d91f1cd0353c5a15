#include "output_format.h"

#include <algorithm>

#include "captions.h"

namespace varnel::cli {

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

// Walks the UTF-16 text by code point. A lone surrogate half cannot be
// written as UTF-8 and becomes U+FFFD, as Qt's own converter does.
template <typename Sink>
void ForEachCodePoint(QStringView text, Sink sink) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0xD800 || u > 0xDFFF) {
            sink(char32_t{u});
        } else if (u < 0xDC00 && i + 1 < n && text[i + 1].isLowSurrogate()) {
            sink(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else {
            sink(char32_t{0xFFFD});
        }
    }
}

void AppendJsonString(std::string& out, QStringView text) {
    out.push_back('"');
    ForEachCodePoint(text, [&out](char32_t c) {
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

void AppendJsonString(std::string& out, std::u16string_view text) {
    AppendJsonString(out, QStringView(text.data(), static_cast<qsizetype>(text.size())));
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
    ForEachCodePoint(text, [&out](char32_t c) {
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
    ForEachCodePoint(text, [&out](char32_t c) { AppendCodePoint(out, c); });
}

QString MessagesAsText(const Outcome& outcome) {
    QString text;
    for (const Message& message : outcome.messages) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        text += message.title + QStringLiteral(": ") + message.text;
    }
    return text;
}

void AppendTextReport(std::string& out, const Outcome& outcome) {
    std::size_t width = 0;
    for (const std::u16string_view caption : kResultCaptions) {
        width = std::max(width, caption.size());
    }
    AppendUtf8(out, outcome.caption);
    out.push_back('\n');
    for (std::size_t slot = 0; slot < kResultCaptions.size(); ++slot) {
        AppendUtf8(out, View(kResultCaptions[slot]));
        out.push_back(':');
        if (!outcome.values[slot].isEmpty()) {
            out.append(width - kResultCaptions[slot].size() + 1, ' ');
            AppendUtf8(out, outcome.values[slot]);
        }
        out.push_back('\n');
    }
}

void AppendJsonObject(std::string& out, const Outcome& outcome) {
    out += "{\"codes\":[";
    for (std::size_t box = 0; box < outcome.codes.size(); ++box) {
        if (box != 0) {
            out.push_back(',');
        }
        AppendJsonString(out, outcome.codes[box]);
    }
    out += "],\"caption\":";
    AppendJsonString(out, outcome.caption);
    out += outcome.completed ? ",\"completed\":true" : ",\"completed\":false";
    out += ",\"slots\":[";
    for (std::size_t slot = 0; slot < kResultCaptions.size(); ++slot) {
        out += slot == 0 ? "{\"caption\":" : ",{\"caption\":";
        AppendJsonString(out, kResultCaptions[slot]);
        out += ",\"value\":";
        AppendJsonString(out, outcome.values[slot]);
        out.push_back('}');
    }
    out += "],\"messages\":[";
    for (qsizetype i = 0; i < outcome.messages.size(); ++i) {
        const Message& message = outcome.messages[i];
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
    if (!outcome.refusal.isEmpty()) {
        out += ",\"error\":";
        AppendJsonString(out, outcome.refusal);
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

void AppendCsvRow(std::string& out, const Outcome& outcome) {
    for (const QString& code : outcome.codes) {
        AppendCsvField(out, code);
        out.push_back(',');
    }
    if (outcome.completed) {
        AppendCsvField(out, outcome.caption);
    }
    for (const QString& value : outcome.values) {
        out.push_back(',');
        AppendCsvField(out, value);
    }
    out += outcome.completed ? ",true," : ",false,";
    AppendCsvField(out, outcome.refusal.isEmpty() ? MessagesAsText(outcome) : outcome.refusal);
    out += "\r\n";
}

}  // namespace varnel::cli
