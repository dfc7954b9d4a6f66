#pragma once
// The window's questions: Qt's message boxes and file dialogs.
#include "controller/Prompts.h"

class DialogPrompts : public Prompts {
public:
    void warning(const QString &title, const QString &text) override;
    bool confirm(const QString &title, const QString &text) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
};
