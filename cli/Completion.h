#pragma once
// The shell completion, answered from the command table: w3ctl.bash-completion hands the
// words typed so far to `w3ctl --complete` and offers what it prints.
#include <QStringList>

class Controllers;

// `words` are the words after the program name, the last one being typed (possibly empty).
// The answer holds the words that start with it, in the table's order; "@files:EXT" asks the
// shell for files with that extension.
QStringList completeWords(const QStringList &words, const Controllers &controllers);
