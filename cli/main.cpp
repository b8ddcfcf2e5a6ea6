#include "Commands.h"
#include "Interrupt.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    partsmith::cli::InstallInterruptHandler();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return partsmith::cli::RunCli(args, std::cout, std::cerr);
}
