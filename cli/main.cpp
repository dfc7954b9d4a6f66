#include "cli/W3ctl.h"

int main(int argc, char *argv[])
{
    return w3ctlMain(argc, argv);
}
