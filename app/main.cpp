#include "app/Startup.h"

int main(int argc, char *argv[])
{
    runW3Config(argc, argv);
}
