#include <iostream>

#include "cli/cli.h"
#include "platform/process_signals.h"

int main(int argc, char** argv) {
  pentrak::SetUpProcessSignals();
  return pentrak::cli::Run(argc, argv, std::cout, std::cerr, std::cin);
}
