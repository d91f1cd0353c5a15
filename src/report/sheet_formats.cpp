#include "report/sheet_formats.h"

#include <QHash>
#include <QStringEncoder>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "catalogue/comparison.h"
#include "catalogue/part.h"
#include "catalogue/verdict.h"
#include "decode/captions.h"

namespace varnel::report {

namespace {

// Output written through a pointer into room made ahead, so that a row of
// two dozen short texts costs little more than copying their characters.
// While the sink lives the string holds the room; it is cut back to what was
// written when the sink goes.
class ByteSink {
  public:
    explicit ByteSink(std::string& out) : out_(out), size_(out.size()) {}
    ~ByteSink() { out_.resize(size_); }
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    // Room for at least bytes more; write there, then call Advance.
    char* Room(std::size_t bytes) {
        if (out_.size() - size_ < bytes) {
            out_.resize(size_ + std::max(bytes, kLeastRoom));
        }
        return out_.data() + size_;
    }
    void Advance(const char* end) { size_ = static_cast<std::size_t>(end - out_.data()); }
    // The bytes of the string written so far.
    std::size_t Size() const { return size_; }

    void Append(std::string_view bytes) {
        std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void Append(char c) {
        *Room(1) = c;
        ++size_;
    }
    void Append(std::size_t count, char c) {
        std::memset(Room(count), c, count);
        size_ += count;
    }

  private:
    static constexpr std::size_t kLeastRoom = 1024;
    std::string& out_;
    std::size_t size_;
};

// Each run of characters outside ASCII goes through Qt's UTF-8 encoder.
// Stateless, it writes a lone surrogate half as U+FFFD rather than holding
// it back for a text that never comes.
char* EncodeRun(char* to, QStringView run) {
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    return encoder.appendToBuffer(to, run);
}

// The ways a text is written. Each says which units it escapes, how, and how
// many bytes a unit may take at most.

// UTF-8 as it is. Three bytes hold any unit: a pair of surrogates takes four.
struct PlainText {
    static constexpr std::size_t kRoomPerUnit = 3;
    static constexpr bool Escapes(char16_t) { return false; }
    static char* Escape(char* to, char16_t) { return to; }
};

// Inside a JSON string.
struct JsonText {
    static constexpr std::size_t kRoomPerUnit = 6;  // \u001f
    static constexpr bool Escapes(char16_t c) {
        // Raw at the start of a string, U+FEFF is taken by Qt's JSON reader
        // for a byte-order mark and dropped.
        return c < 0x20 || c == u'"' || c == u'\\' || c == 0xFEFF;
    }
    static char* Escape(char* to, char16_t c);
};

// Escapes with a letter of their own; every other one is written \u00XX.
struct JsonEscape {
    char16_t unit;
    std::string_view text;
};
constexpr std::array<JsonEscape, 6> kJsonEscapes{{
    {u'"', "\\\""},
    {u'\\', "\\\\"},
    {u'\n', "\\n"},
    {u'\r', "\\r"},
    {u'\t', "\\t"},
    {0xFEFF, "\\ufeff"},
}};

char* JsonText::Escape(char* to, char16_t c) {
    for (const JsonEscape& escape : kJsonEscapes) {
        if (escape.unit == c) {
            return std::copy(escape.text.begin(), escape.text.end(), to);
        }
    }
    constexpr char kHexDigits[] = "0123456789abcdef";
    const char hex[] = {'\\', 'u', '0', '0', kHexDigits[c >> 4], kHexDigits[c & 0xF]};
    return std::copy(std::begin(hex), std::end(hex), to);
}

// Inside a quoted CSV field, where "" stands for a quote.
struct CsvQuoted {
    static constexpr std::size_t kRoomPerUnit = 3;
    static constexpr bool Escapes(char16_t c) { return c == u'"'; }
    static char* Escape(char* to, char16_t) {
        to[0] = to[1] = '"';
        return to + 2;
    }
};

// A CSV field that holds none of these units is written without quotes.
struct CsvBare {
    static constexpr bool Escapes(char16_t c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    }
};

// The ASCII units a Style copies as they are.
template <typename Style>
constexpr std::array<bool, 0x80> kPlainAscii = [] {
    std::array<bool, 0x80> plain{};
    for (char16_t c = 0; c < plain.size(); ++c) {
        plain[c] = !Style::Escapes(c);
    }
    return plain;
}();

// Copies ASCII units up to the first that Style does not copy as it is, or
// the first beyond ASCII; returns where it stopped.
template <typename Style>
const char16_t* CopyPlainAscii(char*& to, const char16_t* p, const char16_t* end) {
    while (p < end && *p < 0x80 && kPlainAscii<Style>[*p]) {
        *to++ = static_cast<char>(*p++);
    }
    return p;
}

// Writes units as UTF-8 in the manner of Style. Plain ASCII is copied by hand:
// nearly every character of a marking's results is, and copying it is
// measurably faster than the encoder's call for each short text. Units that
// Style escapes go to Style::Escape; every other run goes to Qt's encoder. A
// surrogate is never escaped, so a pair stays in one run.
template <typename Style>
char* WriteText(char* to, const char16_t* p, const char16_t* const end) {
    while ((p = CopyPlainAscii<Style>(to, p, end)) < end) {
        if (Style::Escapes(*p)) {
            to = Style::Escape(to, *p++);
            continue;
        }
        const char16_t* const run = p;
        while (p < end && *p >= 0x80 && !Style::Escapes(*p)) {
            ++p;
        }
        to = EncodeRun(to, QStringView(run, p));
    }
    return to;
}

std::size_t UnitCount(QStringView text) {
    return static_cast<std::size_t>(text.size());
}

template <typename Style>
void Put(ByteSink& sink, QStringView text) {
    char* const to = sink.Room(Style::kRoomPerUnit * UnitCount(text));
    sink.Advance(WriteText<Style>(to, text.utf16(), text.utf16() + text.size()));
}

void PutJsonString(ByteSink& sink, QStringView text) {
    char* to = sink.Room(JsonText::kRoomPerUnit * UnitCount(text) + 2);
    *to++ = '"';
    to = WriteText<JsonText>(to, text.utf16(), text.utf16() + text.size());
    *to++ = '"';
    sink.Advance(to);
}

// A spreadsheet runs a cell that begins with one of these as a formula
// (some skip a leading tab or CR first): a code typed as =HYPERLINK(...)
// would run on the reader's machine. No real marking begins with one.
constexpr std::u16string_view kFormulaStarts = u"=+-@\t\r";

bool StartsLikeFormula(QStringView text) {
    return !text.isEmpty() &&
           kFormulaStarts.find(text.front().unicode()) != std::u16string_view::npos;
}

// The most bytes a text takes as a CSV field: three for each unit, an
// apostrophe, two quotes and the separator behind it.
std::size_t CsvRoom(QStringView text) {
    return CsvQuoted::kRoomPerUnit * UnitCount(text) + 4;
}

// One pass for the usual field, plain ASCII without a separator; a field that
// needs quotes is written again from its start. A field that a spreadsheet
// would run as a formula gets an apostrophe in front, the way spreadsheets
// themselves mark such a cell as text. Needs CsvRoom(text) at to.
char* WriteCsvField(char* const to, QStringView text) {
    const char16_t* const end = text.utf16() + text.size();
    const bool formula = StartsLikeFormula(text);
    char* bare = to;
    if (formula) {
        *bare++ = '\'';
    }
    const char16_t* const rest = CopyPlainAscii<CsvBare>(bare, text.utf16(), end);
    if (rest == end) {
        return bare;
    }
    if (std::none_of(rest, end, CsvBare::Escapes)) {
        return WriteText<PlainText>(bare, rest, end);
    }
    char* quoted = to;
    *quoted++ = '"';
    if (formula) {
        *quoted++ = '\'';
    }
    char* const closing = WriteText<CsvQuoted>(quoted, text.utf16(), end);
    *closing = '"';
    return closing + 1;
}

void PutCsvField(ByteSink& sink, QStringView text) {
    sink.Advance(WriteCsvField(sink.Room(CsvRoom(text)), text));
}

// The cells of the decode, from code1 to messages. The most common row of a
// batch: its room is made once and every cell written straight into it.
void PutDecodeCells(ByteSink& sink, const Sheet& sheet, QStringView refusal) {
    const QString messages = refusal.isEmpty() ? MessagesAsText(sheet) : QString();
    const QStringView last = refusal.isEmpty() ? QStringView(messages) : refusal;
    const QStringView family = sheet.completed ? QStringView(sheet.caption) : QStringView();
    std::size_t room = CsvRoom(family) + CsvRoom(last) + std::size(",false,");
    for (const QString& code : sheet.codes) {
        room += CsvRoom(code);
    }
    for (const ShortText& value : sheet.values) {
        room += CsvRoom(value);
    }
    char* to = sink.Room(room);
    for (const QString& code : sheet.codes) {
        to = WriteCsvField(to, code);
        *to++ = ',';
    }
    to = WriteCsvField(to, family);
    for (const ShortText& value : sheet.values) {
        *to++ = ',';
        to = WriteCsvField(to, value);
    }
    const std::string_view completed = sheet.completed ? ",true," : ",false,";
    to = std::copy(completed.begin(), completed.end(), to);
    sink.Advance(WriteCsvField(to, last));
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

// The JSON in front of each value: in the slots its caption, in the fields
// its key. They never change, so they are written once.
struct ValueOpenings {
    std::array<std::string, kFieldCount> captions;
    std::array<std::string, kFieldCount> keys;
};

const ValueOpenings& Openings() {
    static const ValueOpenings openings = [] {
        ValueOpenings built;
        for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
            std::string& opening = built.captions[slot];
            opening = slot == 0 ? ",\"slots\":[{\"caption\":" : "},{\"caption\":";
            ByteSink sink(opening);
            PutJsonString(sink, View(kFields[slot].caption));
            sink.Append(",\"value\":");
            built.keys[slot] = std::string(slot == 0 ? "}],\"fields\":{\"" : ",\"") +
                               std::string(kFields[slot].key) + "\":";
        }
        return built;
    }();
    return openings;
}

char* Copy(std::string_view bytes, char* to) {
    return std::copy(bytes.begin(), bytes.end(), to);
}

void PutJsonCodes(ByteSink& sink, const Codes& codes) {
    sink.Append("{\"codes\":[");
    for (std::size_t box = 0; box < codes.size(); ++box) {
        if (box != 0) {
            sink.Append(',');
        }
        PutJsonString(sink, codes[box]);
    }
    sink.Append(']');
}

using JsonValues = std::array<std::string_view, kFieldCount>;

// The values as JSON strings, each escaped once for both the slots and the
// fields that carry it. They live in a buffer of the thread's own, reused
// marking after marking, until the next call.
JsonValues EscapeValues(const Sheet& sheet) {
    thread_local std::string bytes;
    bytes.clear();
    std::array<std::size_t, kFieldCount + 1> starts{};
    {
        ByteSink sink(bytes);
        for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
            starts[slot] = sink.Size();
            PutJsonString(sink, sheet.values[slot]);
        }
        starts[kFieldCount] = sink.Size();
    }
    JsonValues values;
    for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
        values[slot] =
            std::string_view(bytes).substr(starts[slot], starts[slot + 1] - starts[slot]);
    }
    return values;
}

// The values twice: as slots, with their captions, and as fields, by key.
// The room for both is made at once and every piece copied straight in.
void PutJsonValues(ByteSink& sink, const JsonValues& values) {
    const ValueOpenings& openings = Openings();
    std::size_t room = 2;
    for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
        room +=
            openings.captions[slot].size() + openings.keys[slot].size() + 2 * values[slot].size();
    }
    char* to = sink.Room(room + 2);
    for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
        to = Copy(values[slot], Copy(openings.captions[slot], to));
    }
    for (std::size_t slot = 0; slot < kFieldCount; ++slot) {
        to = Copy(values[slot], Copy(openings.keys[slot], to));
    }
    *to++ = '}';
    sink.Advance(to);
}

// The shortest text that reads back as the same double; null for none.
void PutJsonNumber(ByteSink& sink, std::optional<double> number) {
    if (!number || !std::isfinite(*number)) {
        sink.Append("null");
        return;
    }
    constexpr std::size_t kLongestDouble = 32;  // -1.2345678901234567e-308
    char* const to = sink.Room(kLongestDouble);
    sink.Advance(std::to_chars(to, to + kLongestDouble, *number).ptr);
}

// A number as the sheet shows it, written from its digits: the shortest
// text of the double nearest to it, as no number of a sheet needs an
// exponent (the largest is a clock of 32767 MHz).
void PutShownNumber(ByteSink& sink, ShownNumber number) {
    std::int64_t digits = number.digits;
    int decimals = number.decimals;
    while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
    }
    std::array<char, 24> text{};
    char* end = std::to_chars(text.begin(), text.end(), digits < 0 ? -digits : digits).ptr;
    const auto length = static_cast<int>(end - text.begin());
    if (digits < 0) {
        sink.Append('-');
    }
    if (decimals == 0) {
        sink.Append(std::string_view(text.data(), static_cast<std::size_t>(length)));
        return;
    }
    // Zeros in front of digits that do not reach the point: 0.13 of 13.
    const int whole = length - decimals;
    sink.Append(whole > 0 ? std::string_view(text.data(), static_cast<std::size_t>(whole)) : "0");
    sink.Append('.');
    sink.Append(static_cast<std::size_t>(whole < 0 ? -whole : 0), '0');
    const int fraction = whole > 0 ? whole : 0;
    sink.Append(
        std::string_view(text.data() + fraction, static_cast<std::size_t>(length - fraction)));
}

void PutJsonNumbers(ByteSink& sink, const Sheet& sheet) {
    static const std::array<std::string, kQuantityCount> openings = [] {
        std::array<std::string, kQuantityCount> built;
        for (std::size_t i = 0; i < built.size(); ++i) {
            built[i] = std::string(i == 0 ? ",\"numbers\":{\"" : ",\"") +
                       std::string(kNumberKeys[i]) + "\":";
        }
        return built;
    }();
    for (std::size_t i = 0; i < kNumberKeys.size(); ++i) {
        sink.Append(openings[i]);
        if (const std::optional<ShownNumber> shown =
                sheet.numbers.Shown(static_cast<Quantity>(i))) {
            PutShownNumber(sink, *shown);
        } else {
            sink.Append("null");
        }
    }
    sink.Append('}');
}

void PutJsonMessages(ByteSink& sink, const QList<Message>& messages) {
    sink.Append(",\"messages\":[");
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const Message& message = messages[i];
        sink.Append(i == 0 ? "{\"title\":" : ",{\"title\":");
        PutJsonString(sink, message.title);
        sink.Append(",\"text\":");
        PutJsonString(sink, message.text);
        sink.Append(",\"icon\":\"");
        sink.Append(IconName(message.icon));
        sink.Append("\",\"buttons\":\"");
        sink.Append(ButtonsName(message.buttons));
        sink.Append("\"}");
    }
    sink.Append(']');
}

void PutJsonStrings(ByteSink& sink, const QStringList& texts) {
    sink.Append('[');
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i != 0) {
            sink.Append(',');
        }
        PutJsonString(sink, texts[i]);
    }
    sink.Append(']');
}

// A catalogue fact as JSON: a number, a list of texts, a text, or null for a
// fact the sources leave empty.
void PutJsonFact(ByteSink& sink, const QVariant& fact) {
    switch (fact.typeId()) {
        case QMetaType::Double:
            PutJsonNumber(sink, fact.toDouble());
            return;
        case QMetaType::QStringList:
            PutJsonStrings(sink, fact.toStringList());
            return;
        case QMetaType::QString:
            if (const QString text = fact.toString(); !text.isEmpty()) {
                PutJsonString(sink, text);
                return;
            }
            break;
        default:
            break;
    }
    sink.Append("null");
}

// The catalogue's columns as JSON keys, in the order of the data.
const std::vector<std::string>& CatalogueKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> built;
        for (const QString& name : catalogue::ColumnNames()) {
            built.push_back(name.toStdString());
        }
        return built;
    }();
    return keys;
}

// A part's facts as a JSON object without its closing brace: the data's
// columns in their order.
void PutJsonPartFacts(ByteSink& sink, const catalogue::Part& part) {
    const std::vector<std::string>& keys = CatalogueKeys();
    for (std::size_t column = 0; column < keys.size(); ++column) {
        sink.Append(column == 0 ? "{\"" : ",\"");
        sink.Append(keys[column]);
        sink.Append("\":");
        PutJsonFact(sink, catalogue::ColumnValue(part, static_cast<int>(column)));
    }
}

// A catalogue fact as a CSV cell: numbers in their shortest form, the
// sources separated by spaces as in the data.
QString CsvCellOf(const QVariant& fact) {
    switch (fact.typeId()) {
        case QMetaType::Double: {
            std::array<char, 32> digits{};
            const auto end = std::to_chars(digits.begin(), digits.end(), fact.toDouble()).ptr;
            return QString::fromLatin1(digits.data(), end - digits.data());
        }
        case QMetaType::QStringList:
            return fact.toStringList().join(u' ');
        default:
            return fact.toString();
    }
}

void PutCsvPartFacts(ByteSink& sink, const catalogue::Part& part) {
    for (std::size_t column = 0; column < CatalogueKeys().size(); ++column) {
        sink.Append(',');
        PutCsvField(sink, CsvCellOf(catalogue::ColumnValue(part, static_cast<int>(column))));
    }
}

// What a batch writes again and again, written once: the facts of each part
// as JSON and as CSV cells (they never change, and their sources and notes
// are long). A part is known by where it lives and by its OPN, so that a
// catalogue built and dropped (in a test) cannot lend its facts to another
// one built at the same place. Each thread keeps its own, so writers never
// wait for each other; memory stays bounded by the parts written.
class PartMemo {
  public:
    static PartMemo& OfThisThread() {
        thread_local PartMemo memo;
        return memo;
    }

    const std::string& JsonFacts(const catalogue::Part& part) {
        return Facts(part, PutJsonPartFacts, json_);
    }
    const std::string& CsvFacts(const catalogue::Part& part) {
        return Facts(part, PutCsvPartFacts, csv_);
    }

  private:
    struct Written {
        QString opn;
        std::string bytes;
    };
    using Memo = QHash<const catalogue::Part*, Written>;
    static constexpr qsizetype kMaxParts = 4096;

    static const std::string& Facts(const catalogue::Part& part,
                                    void (*put)(ByteSink&, const catalogue::Part&), Memo& memo) {
        auto found = memo.find(&part);
        if (found == memo.end() || found->opn != part.opn) {
            if (memo.size() >= kMaxParts) {
                memo.clear();
            }
            Written written{part.opn, {}};
            {
                ByteSink sink(written.bytes);  // cuts the bytes to size as it goes
                put(sink, part);
            }
            found = memo.insert(&part, std::move(written));
        }
        return found->bytes;
    }

    Memo json_;
    Memo csv_;
};

// The names of the facts that stand as asked, as a JSON array or as text
// joined by a separator.
void PutJsonNames(ByteSink& sink, const catalogue::Comparison& comparison,
                  catalogue::Agreement agreement) {
    char separator = '[';
    catalogue::VisitNames(comparison, agreement, [&](std::u16string_view name) {
        sink.Append(separator);
        PutJsonString(sink, View(name));
        separator = ',';
    });
    sink.Append(separator == '[' ? "[]" : "]");
}

QString JoinNames(const catalogue::Comparison& comparison, catalogue::Agreement agreement,
                  QStringView separator) {
    QString joined;
    catalogue::VisitNames(comparison, agreement, [&](std::u16string_view name) {
        if (!joined.isEmpty()) {
            joined += separator;
        }
        joined += View(name);
    });
    return joined;
}

// The part of the catalogue whose OPN is the marking's Code One: its facts
// and where they differ from the decode, or null and the OPNs near Code One.
void PutJsonCatalogue(ByteSink& sink, const catalogue::Comparison& comparison) {
    sink.Append(",\"catalogue\":");
    if (comparison.part == nullptr) {
        sink.Append("null,\"near\":");
        PutJsonStrings(sink, comparison.nearOpns);
        return;
    }
    sink.Append(PartMemo::OfThisThread().JsonFacts(*comparison.part));
    sink.Append(",\"verdict\":\"");
    sink.Append(catalogue::VerdictToken(catalogue::VerdictOf(comparison)));
    // A stopped decode compared nothing: no list, rather than an empty one
    // that a script would take for agreement.
    if (comparison.decodeCompleted) {
        sink.Append("\",\"differs\":");
        PutJsonNames(sink, comparison, catalogue::Agreement::Differs);
        sink.Append(",\"not_read\":");
        PutJsonNames(sink, comparison, catalogue::Agreement::NotRead);
    } else {
        sink.Append("\",\"differs\":null,\"not_read\":null");
    }
    sink.Append("},\"near\":[]");
}

// Why a run stopped, and which code the stop is about; null for a run that
// completed.
void PutJsonStop(ByteSink& sink, const Findings& findings) {
    sink.Append(",\"stop\":");
    if (findings.stop == StopReason::None) {
        sink.Append("null");
        return;
    }
    sink.Append("{\"reason\":\"");
    sink.Append(StopToken(findings.stop));
    sink.Append("\",\"code\":");
    if (findings.stopCode == 0) {
        sink.Append("null}");
        return;
    }
    sink.Append(static_cast<char>('0' + findings.stopCode));
    sink.Append('}');
}

// The part's facts, the verdict, and the names of the facts that differ and
// that the rules did not read, each list on one line.
void PutCatalogueCells(ByteSink& sink, const catalogue::Comparison& comparison) {
    if (comparison.part == nullptr) {
        sink.Append(CatalogueKeys().size() + 3, ',');
        return;
    }
    sink.Append(PartMemo::OfThisThread().CsvFacts(*comparison.part));
    sink.Append(',');
    sink.Append(catalogue::VerdictToken(catalogue::VerdictOf(comparison)));
    sink.Append(',');
    PutCsvField(sink, JoinNames(comparison, catalogue::Agreement::Differs, u"; "));
    sink.Append(',');
    PutCsvField(sink, JoinNames(comparison, catalogue::Agreement::NotRead, u"; "));
}

}  // namespace

void AppendUtf8(std::string& out, QStringView text) {
    ByteSink sink(out);
    Put<PlainText>(sink, text);
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

namespace {

// The width of the longest caption: every value of the text starts beyond it.
std::size_t CaptionWidth() {
    std::size_t width = 0;
    for (const FieldInfo& info : kFields) {
        width = std::max(width, info.caption.size());
    }
    return width;
}

// "Label:" padded to the captions' width, then the text; an empty label
// leaves the text under the one above.
void PutAlignedLine(ByteSink& sink, QStringView label, QStringView text) {
    const auto labelSize = static_cast<std::size_t>(label.size());
    Put<PlainText>(sink, label);
    if (!label.isEmpty()) {
        sink.Append(':');
    }
    if (!text.isEmpty()) {
        const std::size_t used = label.isEmpty() ? 0 : labelSize + 1;
        sink.Append(CaptionWidth() + 2 - std::min(used, CaptionWidth() + 1), ' ');
        Put<PlainText>(sink, text);
    }
    sink.Append('\n');
}

}  // namespace

void AppendTextReport(std::string& out, const Sheet& sheet) {
    ByteSink sink(out);
    Put<PlainText>(sink, sheet.caption);
    sink.Append('\n');
    for (std::size_t slot = 0; slot < kFields.size(); ++slot) {
        PutAlignedLine(sink, View(kFields[slot].caption), sheet.values[slot]);
    }
}

void AppendCatalogueText(std::string& out, const Sheet& sheet,
                         const catalogue::Comparison& comparison) {
    ByteSink sink(out);
    sink.Append('\n');
    for (const catalogue::CatalogueLine& line : catalogue::CatalogueLines(sheet, comparison)) {
        PutAlignedLine(sink, line.label, line.text);
    }
}

void AppendJsonObject(std::string& out, const Sheet& sheet, const catalogue::Comparison& comparison,
                      QStringView refusal) {
    ByteSink sink(out);
    PutJsonCodes(sink, sheet.codes);
    // As in the CSV's family column: the caption a stopped run leaves names
    // no chip.
    sink.Append(",\"caption\":");
    PutJsonString(sink, sheet.completed ? QStringView(sheet.caption) : QStringView());
    sink.Append(sheet.completed ? ",\"completed\":true" : ",\"completed\":false");
    PutJsonStop(sink, sheet.findings);
    PutJsonValues(sink, EscapeValues(sheet));
    PutJsonNumbers(sink, sheet);
    PutJsonMessages(sink, sheet.messages);
    PutJsonCatalogue(sink, comparison);
    if (!refusal.isEmpty()) {
        sink.Append(",\"error\":");
        PutJsonString(sink, refusal);
    }
    sink.Append('}');
}

void AppendPartJson(std::string& out, const catalogue::Part& part) {
    ByteSink sink(out);
    PutJsonPartFacts(sink, part);
    sink.Append('}');
}

void AppendCsvHeader(std::string& out, CsvColumns columns, CsvNames names) {
    ByteSink sink(out);
    sink.Append("code1,code2,code3,family");
    for (const FieldInfo& info : kFields) {
        sink.Append(',');
        if (names == CsvNames::Keys) {
            sink.Append(info.key);
        } else {
            PutCsvField(sink, View(info.caption));
        }
    }
    sink.Append(",completed,messages");
    if (columns == CsvColumns::WithCatalogue) {
        for (const std::string& key : CatalogueKeys()) {
            sink.Append(",catalogue_");
            sink.Append(key);
        }
        sink.Append(",catalogue_verdict,differs,not_read");
    }
    sink.Append("\r\n");
}

void AppendCsvRow(std::string& out, const Sheet& sheet, QStringView refusal,
                  const catalogue::Comparison* catalogueColumns) {
    ByteSink sink(out);
    PutDecodeCells(sink, sheet, refusal);
    if (catalogueColumns != nullptr) {
        PutCatalogueCells(sink, *catalogueColumns);
    }
    sink.Append("\r\n");
}

}  // namespace varnel::report
