#include "cli/Output.h"

#include <QJsonDocument>

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
    QString line = message.simplified();
    err << "w3ctl: " << line << "\n";
    err.flush();
}

void Output::plain(const QString &text)
{
    out << text;
    out.flush();
}
