#pragma once
// The modal questions the program asks the user: message boxes and file dialogs.
// The window supplies Qt's dialogs (DialogPrompts) when it starts; w3ctl answers on the
// terminal; tests install their own answers with Prompts::install().
#include <QString>

class QWidget;

class Prompts {
public:
    virtual ~Prompts() = default;

    // Warning box, no parent window, a single Ok button and no default button.
    virtual void warning(const QString &title, const QString &text) = 0;
    // Warning box with Ok and Cancel, Cancel the default; true when the user pressed Ok.
    virtual bool confirm(const QString &title, const QString &text) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;

    // The prompts in use: those installed, else the window's dialogs, else none: a program
    // without either logs each warning and takes every question as cancelled.
    static Prompts &current();
    // Installs prompts (not owned); nullptr restores the window's dialogs.
    static void install(Prompts *prompts);
    // The window's dialogs (not owned), set once by the program that shows a window.
    static void setDialogs(Prompts *dialogs);
};
