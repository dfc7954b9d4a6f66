#include "cli/TerminalPrompts.h"

TerminalPrompts::TerminalPrompts()
{
    Prompts::install(this);
}

TerminalPrompts::~TerminalPrompts()
{
    Prompts::install(nullptr);
}

void TerminalPrompts::warning(const QString &, const QString &text)
{
    warnings << text;
}

bool TerminalPrompts::confirm(const QString &, const QString &)
{
    return false;
}

QString TerminalPrompts::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return fileAnswer;
}

QString TerminalPrompts::saveFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return fileAnswer;
}

QStringList TerminalPrompts::takeWarnings()
{
    QStringList taken;
    taken.swap(warnings);
    return taken;
}
