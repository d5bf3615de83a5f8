#include "tools/corvane-script/script_tool.h"

#include <iostream>

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return corvane::authoring::RunScriptTool(arguments, std::cout, std::cerr);
}
