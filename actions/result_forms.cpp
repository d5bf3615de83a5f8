#include "actions/result_forms.h"

#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {

void StoreNamedResult(TRunContext& run, std::size_t line, std::string_view value) {
  const std::string lineText = run.Line(line);
  run.StoreResult(UpperCase(NamedVariable(lineText)), value);
}

void StorePlainResult(TRunContext& run, std::size_t line, std::string_view value) {
  const std::string name = run.Line(line);
  if (!name.empty()) {
    run.StoreResult(name, value);
  }
}

std::string ReadInPlace(TRunContext& run, std::size_t line) {
  const std::string lineText = run.Line(line);
  return run.Store().Get(NamedVariable(lineText));
}

void WriteInPlace(TRunContext& run, std::size_t line, std::string_view value) {
  const std::string lineText = run.Line(line);
  run.StoreResult(NamedVariable(lineText), value);
}

}  // namespace corvane
