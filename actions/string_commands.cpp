#include "actions/string_commands.h"

#include "actions/path_text.h"
#include "actions/result_forms.h"
#include "actions/string_text.h"
#include "actions/version_compare.h"
#include "script/command_table.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kTemporaryFilePrefix = "kel";

void ParseStringCommand(TRunContext& run, const TCaseMapping& caseMapping) {
  const std::string source = run.NormalisedLine(1);
  const std::string pattern = run.NormalisedLine(2);
  const int mode = ReadInteger(run.Line(5));
  TStringParts parts = ParseString(source, pattern, mode, IsTrue(run.Line(7)), caseMapping);
  if (IsTrue(run.Line(6))) {
    parts = {TrimBlanks(parts.first), TrimBlanks(parts.second)};
  }
  StorePlainResult(run, 3, parts.first);
  StorePlainResult(run, 4, parts.second);
}

void ReplaceStringCommand(TRunContext& run, const TCaseMapping& caseMapping) {
  const std::string value = ReadInPlace(run, 1);
  StoreNamedResult(run, 1,
                   ReplaceString(value, run.SubstitutedLine(2), run.SubstitutedLine(3), IsTrue(run.Line(4)),
                                 IsTrue(run.Line(5)), caseMapping));
}

void ConvertCaseCommand(TRunContext& run, const TCaseMapping& caseMapping) {
  const std::string value = run.Store().SubstituteNormalised(ReadInPlace(run, 1));
  WriteInPlace(run, 1, IsTrue(run.Line(2)) ? caseMapping.Upper(value) : caseMapping.Lower(value));
}

void ConvertPathCommand(TRunContext& run, const TSystemQueries& system) {
  const std::string path = run.Store().SubstituteNormalised(ReadInPlace(run, 1));
  if (IsTrue(run.Line(2))) {
    WriteInPlace(run, 1, system.ShortPath(path));
    return;
  }
  WriteInPlace(run, 1, LongPathForm(path, [&system](const std::string& entry) { return system.EntryName(entry); }));
}

void ExtractPathCommand(TRunContext& run) {
  const std::string path = run.Store().SubstituteNormalised(ReadInPlace(run, 1));
  WriteInPlace(run, 1, ExtractPathPart(path, ReadInteger(run.Line(2))));
}

void MathematicsCommand(TRunContext& run, TMathGenerator& generator) {
  StorePlainResult(run, 4, Calculate(run.SubstitutedLine(1), run.SubstitutedLine(2), run.Line(3), generator));
}

void GetEnvironmentCommand(TRunContext& run, const TSystemQueries& system) {
  StoreNamedResult(run, 2, system.ExpandEnvironment("%" + run.SubstitutedLine(1) + "%"));
}

void GetFileVersionCommand(TRunContext& run, const TSystemQueries& system) {
  StoreNamedResult(run, 2, VersionText(system.FileVersion(run.NormalisedLine(1))));
}

void CheckFileVersionCommand(TRunContext& run, const TSystemQueries& system) {
  const TVersionNumbers version = VersionNumbers(system.FileVersion(run.NormalisedLine(2)));
  const TVersionNumbers reference = IsTrue(run.Line(3)) ? VersionNumbers(system.FileVersion(run.NormalisedLine(4)))
                                                        : ParseVersionText(run.SubstitutedLine(5));
  StorePlainResult(run, 1, BooleanText(IsNewerVersion(version, reference)));
}

void GetTemporaryFileCommand(TRunContext& run, const TSystemQueries& system) {
  const std::optional<std::string> path =
      system.CreateTemporaryFile(system.TemporaryFolder(), std::string(kTemporaryFilePrefix));
  StoreNamedResult(run, 1, path.value_or(""));
}

}  // namespace

void RegisterStringCommands(TCommandTable& table, TStringCommandServices& services) {
  const TSystemQueries& system = services.system;
  TMathGenerator& generator = services.generator;
  table.Register("Parse String", [&system](TRunContext& run) { ParseStringCommand(run, system); });
  table.Register("Replace String", [&system](TRunContext& run) { ReplaceStringCommand(run, system); });
  table.Register("Convert Case", [&system](TRunContext& run) { ConvertCaseCommand(run, system); });
  table.Register("Convert Path", [&system](TRunContext& run) { ConvertPathCommand(run, system); });
  table.Register("Extract Path", ExtractPathCommand);
  table.Register("Mathematics", [&generator](TRunContext& run) { MathematicsCommand(run, generator); });
  table.Register("Get Environment", [&system](TRunContext& run) { GetEnvironmentCommand(run, system); });
  table.Register("Get File Version", [&system](TRunContext& run) { GetFileVersionCommand(run, system); });
  table.Register("Check File Version", [&system](TRunContext& run) { CheckFileVersionCommand(run, system); });
  table.Register("Get Temporary File", [&system](TRunContext& run) { GetTemporaryFileCommand(run, system); });
}

}  // namespace corvane
