#include "cli/Cli.h"

#include <iostream>

#ifndef _WIN32
#include <csignal>
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    // Output to a pipe that was closed (`tolvane-cli validate p.tpm | head -1`) is a write error, which the
    // command reports with its exit status, not a death that leaves temporary files behind.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    return tolvane::cli::run(argc, argv, std::cout, std::cerr);
}
