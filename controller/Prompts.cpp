#include "controller/Prompts.h"

#include <QDebug>

namespace {

// No window and no terminal to ask: the warning goes to the log, every question is cancelled.
class UnaskedPrompts : public Prompts {
public:
    void warning(const QString &title, const QString &text) override
    {
        qWarning().noquote() << title + ":" << text;
    }
    bool confirm(const QString &title, const QString &text) override
    {
        qWarning().noquote() << title + ":" << text << "(not asked: cancelled)";
        return false;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};

UnaskedPrompts unasked;
Prompts *installed = nullptr;
Prompts *dialogs = nullptr;

}  // namespace

Prompts &Prompts::current()
{
    if (installed)
        return *installed;
    return dialogs ? *dialogs : static_cast<Prompts &>(unasked);
}

void Prompts::install(Prompts *prompts)
{
    installed = prompts;
}

void Prompts::setDialogs(Prompts *prompts)
{
    dialogs = prompts;
}
