#pragma once
// w3ctl speaks the window's language: the one chosen in the window's settings list.
#include <QStringList>

class Controllers;

// Loads it as the scene does at start: the message list, and the check whose failure keeps
// the mouse untouched.
void loadWindowLanguage(Controllers &controllers);
// The product's 16 button names in the window's language ("" for buttons it lacks), and in
// English for the command line.
QStringList windowButtonNames(const Controllers &controllers);
QStringList englishButtonNames(const Controllers &controllers);
