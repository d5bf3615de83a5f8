#include "tools/corvane-script/script_tool.h"

#include "launcher/script_container.h"
#include "tools/corvane-script/source_compiler.h"
#include "tools/corvane-script/source_writer.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string_view>

namespace corvane::authoring {
namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  corvane-script compile SOURCE -o OUTPUT [--engine ENGINE.exe]\n"
    "      Compiles script source into a script container. With --engine, OUTPUT\n"
    "      is ENGINE.exe up to the end of its image (what follows the image, such\n"
    "      as a symbol table or an old container, is dropped) and then the\n"
    "      container.\n"
    "  corvane-script dump INPUT [-o OUTPUT]\n"
    "      Writes the script of a container, or of an executable carrying one, as\n"
    "      source that compiles back to the same container; to standard output\n"
    "      unless -o is given.\n"
    "  corvane-script --help\n"
    "      Shows this text.\n"
    "\n"
    "Exit codes: 0 done; 1 faulty source, container or executable; 2 wrong\n"
    "command line; 3 a file cannot be read or written.\n";

class TToolFailure : public std::runtime_error {
public:
  TToolFailure(TExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  TExitCode Code() const { return code_; }

private:
  TExitCode code_;
};

struct TOptions {
  std::string command;
  std::string input;
  std::optional<std::string> output;
  std::optional<std::string> engine;
};

[[noreturn]] void UsageError(const std::string& message) {
  throw TToolFailure(kExitUsage, message + "\n(corvane-script --help shows the usage)");
}

TOptions ParseArguments(const std::vector<std::string>& arguments) {
  TOptions options;
  options.command = arguments.front();
  if (options.command != "compile" && options.command != "dump") {
    UsageError("unknown command \"" + options.command + "\"; the commands are compile and dump");
  }
  std::optional<std::string> input;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isOutput = argument == "-o" || argument == "--output";
    const bool isEngine = argument == "--engine" && options.command == "compile";
    if (isOutput || isEngine) {
      if (i + 1 == arguments.size()) {
        UsageError(argument + " needs a file name after it");
      }
      std::optional<std::string>& target = isOutput ? options.output : options.engine;
      if (target) {
        UsageError(argument + " is given twice");
      }
      target = arguments[++i];
    } else if (argument.size() > 1 && argument.front() == '-') {
      UsageError("unknown option \"" + argument + "\" for " + options.command);
    } else if (input) {
      UsageError(options.command + " takes one input file; \"" + argument + "\" is one too many");
    } else {
      input = argument;
    }
  }
  if (!input) {
    UsageError(options.command + " needs an input file");
  }
  if (options.command == "compile" && !options.output) {
    UsageError("compile needs -o OUTPUT");
  }
  options.input = *input;
  return options;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    throw TToolFailure(kExitFileError, path + ": cannot be opened for reading");
  }
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw TToolFailure(kExitFileError, path + ": cannot be read");
  }
  return bytes;
}

// A failed write leaves no half-written file behind.
void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw TToolFailure(kExitFileError, path + ": cannot be opened for writing");
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::remove(path.c_str());
    throw TToolFailure(kExitFileError, path + ": cannot be written");
  }
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void Compile(const TOptions& options) {
  const std::string source = ReadFile(options.input);
  std::string output;
  if (options.engine) {
    const std::string engine = ReadFile(*options.engine);
    std::optional<std::string> image = ImageWithoutAppendedData(engine);
    if (!image) {
      throw TToolFailure(kExitBadInput, *options.engine + ": not a Windows executable, or cut short");
    }
    output = std::move(*image);
  }
  try {
    output += TScriptContainer(CompileSource(source, options.input)).Serialize();
  } catch (const TSourceError& error) {
    throw TToolFailure(kExitBadInput, error.what());
  } catch (const TContainerError& error) {
    throw TToolFailure(kExitBadInput, options.input + ": " + error.what());
  }
  WriteFile(*options.output, output);
}

void Dump(const TOptions& options, std::ostream& out, std::ostream& err) {
  const std::string bytes = ReadFile(options.input);
  std::string_view container = bytes;
  const bool executable = container.starts_with("MZ");
  if (executable) {
    const std::optional<std::string_view> appended = AppendedData(AsBytes(bytes));
    if (!appended) {
      throw TToolFailure(kExitBadInput, options.input + ": not a Windows executable, or cut short");
    }
    if (appended->empty()) {
      throw TToolFailure(kExitBadInput, options.input + ": the executable carries no script container");
    }
    container = *appended;
  }
  std::optional<TScriptContainer> parsed;
  try {
    parsed = TScriptContainer::Parse(container);
  } catch (const TContainerError& error) {
    throw TToolFailure(kExitBadInput,
                       options.input + ": " +
                           (executable ? "the data after the executable image is not a script container: " : "") +
                           error.what());
  }
  const std::string source = WriteSource(parsed->Sections());
  if (parsed->Serialize() != container) {
    err << options.input << ": note: the container is not written the way compile writes one "
                            "(line ends, spelling of numbers or TRUE, or data after its last section); "
                            "the source compiles to the tidied form\n";
  }
  if (options.output) {
    WriteFile(*options.output, source);
  } else {
    out << source;
  }
}

}  // namespace

int RunScriptTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << kUsage;
      return kExitOk;
    }
  }
  if (arguments.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  try {
    const TOptions options = ParseArguments(arguments);
    if (options.command == "compile") {
      Compile(options);
    } else {
      Dump(options, out, err);
    }
    return kExitOk;
  } catch (const TToolFailure& failure) {
    err << "corvane-script: " << failure.what() << "\n";
    return failure.Code();
  }
}

}  // namespace corvane::authoring
