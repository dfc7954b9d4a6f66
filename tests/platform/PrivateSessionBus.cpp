#include "PrivateSessionBus.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace privatebus {

namespace {

const char *const kInsideMarker = "W3_PRIVATE_SESSION_BUS";
const char *const kRunner = "dbus-run-session";

}  // namespace

bool inside()
{
    return qEnvironmentVariableIsSet(kInsideMarker);
}

int runInside(int argc, char **argv)
{
    QTemporaryDir home;
    const QString runtime = home.path() + "/runtime";
    const QString config = home.path() + "/config";
    if (!home.isValid() || !QDir().mkpath(runtime) || !QDir().mkpath(config)
        || !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        std::fprintf(stderr, "cannot prepare a temporary home for the private session bus\n");
        return 1;
    }
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv(kInsideMarker, "1");

    std::vector<char *> arguments{const_cast<char *>(kRunner), const_cast<char *>("--")};
    arguments.insert(arguments.end(), argv, argv + argc);
    arguments.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        execvp(kRunner, arguments.data());
        std::perror(kRunner);
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace privatebus
