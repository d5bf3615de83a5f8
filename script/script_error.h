// A failure of the script itself (an undefined variable, a number that is not
// one): the interpreter reports it with the line number and ends the run.
#pragma once

#include <stdexcept>

namespace corvane {

class TScriptError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace corvane
