#include "Startup.h"

int main(int argc, char *argv[])
{
    return RunOrvella(argc, argv);
}
