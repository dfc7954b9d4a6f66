#pragma once
// The controller's questions answered without a window: warnings are collected for standard
// error, a confirmation is refused (w3ctl asks for --force instead), and a file dialog
// answers with the file named on the command line.
#include "controller/Prompts.h"

#include <QStringList>

class TerminalPrompts : public Prompts {
public:
    TerminalPrompts();
    ~TerminalPrompts() override;

    void warning(const QString &title, const QString &text) override;
    bool confirm(const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;

    // The answer of the next file dialog; empty cancels it.
    void setFileAnswer(const QString &path) { fileAnswer = path; }
    // Warnings shown since the last call, oldest first.
    QStringList takeWarnings();

private:
    QString fileAnswer;
    QStringList warnings;
};
