#include <iostream>

#include "cli/app.h"

int main(int argc, char **argv) {
    return velorin::cli::RunVelorinCtl(argc, argv, std::cout, std::cerr);
}
