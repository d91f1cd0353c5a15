#include "html_table.h"

namespace varnel::report {

// Placeholder until the table builder lands.
QString SaveHTML(const WindowSnapshot&, const QString&, std::int16_t, const QString&, const QString&,
                 const QString&, const QString&) {
    return {};
}
QString BuildDefaultTable(const WindowSnapshot&) { return {}; }
QByteArray EncodeTableFile(const QString&) { return {}; }
bool WriteWholeFile(const QString&, const QByteArray&, QString*) { return false; }
bool ExportHtmlTable(const WindowSnapshot&, Prompter&, const QString&) { return false; }

}  // namespace varnel::report
