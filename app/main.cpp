#include "app/Startup.h"

int main(int argc, char *argv[])
{
    return runW3Config(argc, argv);
}
