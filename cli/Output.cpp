#include "cli/Output.h"

#include <QJsonDocument>

namespace {

// A direction override or another invisible character echoed from the user's input would make
// the rest of the line read otherwise on the terminal: it is shown as its code point.
QString withInvisiblesShown(const QString &text)
{
    QString shown;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            shown += QString("<U+%1>").arg(c.unicode(), 4, 16, QChar('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

}  // namespace

void Output::result(const QString &text, const QJsonObject &fields)
{
    if (json)
        out << QJsonDocument(fields).toJson(QJsonDocument::Indented);
    else
        out << text << (text.endsWith('\n') ? "" : "\n");
    out.flush();
}

void Output::done(const QString &text)
{
    if (!json && !text.isEmpty()) {
        out << text << "\n";
        out.flush();
    }
}

void Output::error(const QString &message)
{
    const QString line = withInvisiblesShown(message.simplified());
    err << "w3ctl: " << line << "\n";
    err.flush();
}

void Output::plain(const QString &text)
{
    out << text;
    out.flush();
}
