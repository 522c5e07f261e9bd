// scriptcheck: lists the lines of macro scripts and panel files that will
// silently do nothing when run. See panels/script_check_cli.cpp for the
// usage text.
#include <iostream>
#include <string>
#include <vector>

#include "panels/script_check_cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return qv::scriptcheck::Run(args, std::cout, std::cerr);
}
