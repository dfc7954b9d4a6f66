#include "controller/RecentApplications.h"

namespace {

bool sameApplication(const ApplicationIdentity &a, const ApplicationIdentity &b)
{
    return a.applicationId == b.applicationId && a.windowClass == b.windowClass && a.programName == b.programName;
}

}  // namespace

void RecentApplications::seen(const ApplicationIdentity &application)
{
    if (application.applicationId.isEmpty() && application.windowClass.isEmpty() && application.programName.isEmpty())
        return;
    if (!list.isEmpty() && list.front() == application)
        return;
    for (int i = 0; i < list.size(); ++i) {
        if (sameApplication(list.at(i), application)) {
            list.remove(i);
            break;
        }
    }
    list.prepend(application);
    if (list.size() > kMaxApplications)
        list.resize(kMaxApplications);
    emit changed();
}
