#include <csignal>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write then fails with EFBIG and a message, where the signal would
  // kill the program silently and leave a half-written temporary file.
  std::signal(SIGXFSZ, SIG_IGN);
  return pentrak::cli::Run(argc, argv, std::cout, std::cerr, std::cin);
}
