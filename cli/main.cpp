#include "Commands.h"
#include "Interrupt.h"
#include "Language.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    partsmith::cli::InstallInterruptHandler();
    partsmith::cli::LoadWindowLanguage(
        partsmith::cli::ExecutablePath(argc > 0 ? argv[0] : nullptr));
    const std::vector<std::string> args(argv + 1, argv + argc);
    return partsmith::cli::RunCli(args, std::cout, std::cerr);
}
