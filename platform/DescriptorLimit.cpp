#include "platform/DescriptorLimit.h"

#include <QDebug>
#include <cerrno>
#include <cstring>
#include <sys/resource.h>

void DescriptorLimit::raiseToHardLimit()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        qWarning() << "Cannot read the open file limit:" << std::strerror(errno);
        return;
    }
    if (limit.rlim_cur == limit.rlim_max)
        return;
    limit.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
        qWarning() << "Cannot raise the open file limit to" << limit.rlim_max << ":" << std::strerror(errno);
}
