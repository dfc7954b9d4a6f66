#include "app/StartOptions.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

StartOptions readStartOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("W3 Config: buttons, macros, DPI stages, lighting and profiles of the W3 mouse.");
    parser.addHelpOption();
    const QCommandLineOption background(
        "background", "Start without a window: the mouse is kept set up and answers on the session bus; "
                      "the window opens from the tray, a second launch or the bus.");
    parser.addOption(background);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(parser.errorText()), qPrintable(parser.helpText()));
        std::exit(2);
    }
    if (parser.isSet("help"))
        parser.showHelp(0);
    return {parser.isSet(background)};
}
