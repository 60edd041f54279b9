#include "application/TarnOMBILibrarianApplication.h"

int main (int argc, char* argv[])
{
    return TarnOMBILibrarianApplication::main (argc, argv);
}
