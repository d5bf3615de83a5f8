#include "tools/corvane-script/script_tool.h"

#include "launcher/script_container.h"
#include "launcher/tests/mini_pe.h"
#include "tools/corvane-script/source_compiler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::authoring {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace std::string_literals;

constexpr const char* kSource =
    "title: Sample\n"
    "script:\n"
    "  Set Variable\n"
    "    TARGETDIR\n"
    "  Install Files [header=H0 media=OFFLINE\\]\n"
    "    $TARGETDIR$\n";

struct TRun {
  int code;
  std::string out;
  std::string err;
};

TRun RunTool(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunScriptTool(arguments, out, err);
  return {code, out.str(), err.str()};
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ContainerOf(const std::string& source, const std::string& fileName) {
  return TScriptContainer(CompileSource(source, fileName)).Serialize();
}

std::string AsText(const test::TBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class ScriptTool : public ::testing::Test {
protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("corvane_script_test_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder_);
    WriteBytes(Path("setup.cvscript"), kSource);
  }

  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

TEST_F(ScriptTool, CompileWritesTheContainerOfTheSource) {
  const TRun run = RunTool({"compile", Path("setup.cvscript"), "-o", Path("setup.container")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string container = ReadBytes(Path("setup.container"));
  EXPECT_EQ(container, ContainerOf(kSource, Path("setup.cvscript")));
  EXPECT_EQ(TScriptContainer::Parse(container).CommandHeader(1), "H0");
}

// An unstripped MinGW engine carries its symbol table after the image, and an
// engine that went through compile before carries an old container there.
TEST_F(ScriptTool, CompileWithAnEngineAppendsAtTheImageEndDroppingWhatFollowed) {
  const std::string image = AsText(test::MiniPe(240, {{0x400, 0x200}, {0x200, 0x200}}));
  const std::string expected = image + ContainerOf(kSource, Path("setup.cvscript"));
  WriteBytes(Path("engine.exe"), image + "symbol table and strings\0\x01\x02"s + "$\r\n$\r\n");

  TRun run = RunTool({"compile", Path("setup.cvscript"), "--engine", Path("engine.exe"), "-o", Path("setup.exe")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(ReadBytes(Path("setup.exe")), expected);

  // Rebuilding in place replaces the container instead of stacking a second.
  run = RunTool({"compile", Path("setup.cvscript"), "-o", Path("setup.exe"), "--engine", Path("setup.exe")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(ReadBytes(Path("setup.exe")), expected);

  run = RunTool({"dump", Path("setup.exe"), "-o", Path("dumped.cvscript")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  run = RunTool({"compile", Path("dumped.cvscript"), "-o", Path("again.container")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_EQ(image + ReadBytes(Path("again.container")), expected);
}

#ifdef _WIN32
// Under Wine the test program itself is a real MinGW engine to append to.
TEST_F(ScriptTool, CompileWithThisMinGwExecutableAsEngine) {
  const std::string self = ReadBytes(std::string("Z:") + CORVANE_TEST_EXE);
  const std::optional<std::size_t> imageEnd =
      FindImageEnd({reinterpret_cast<const std::uint8_t*>(self.data()), self.size()});
  ASSERT_TRUE(imageEnd);
  WriteBytes(Path("engine.exe"), self);

  const TRun run = RunTool({"compile", Path("setup.cvscript"), "--engine", Path("engine.exe"), "-o", Path("setup.exe")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  const std::string written = ReadBytes(Path("setup.exe"));
  const std::string container = ContainerOf(kSource, Path("setup.cvscript"));
  EXPECT_EQ(written, self.substr(0, *imageEnd) + container);
  EXPECT_THAT(RunTool({"dump", Path("setup.exe")}).out, HasSubstr("  Install Files [header=H0 media=OFFLINE\\]"));
}
#endif

TEST_F(ScriptTool, DumpWritesSourceToStandardOutput) {
  WriteBytes(Path("setup.container"), ContainerOf(kSource, "setup.cvscript"));
  const TRun run = RunTool({"dump", Path("setup.container")});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\ntitle: Sample\n"));
  EXPECT_EQ(ContainerOf(run.out, "x.cvscript"), ContainerOf(kSource, "setup.cvscript"));
}

TEST_F(ScriptTool, DumpNotesAContainerCompileWouldWriteDifferently) {
  std::string container = ContainerOf(kSource, "setup.cvscript");
  std::string lf;
  for (char c : container) {
    if (c != '\r') {
      lf += c;
    }
  }
  WriteBytes(Path("lf.container"), lf);
  const TRun run = RunTool({"dump", Path("lf.container")});
  EXPECT_EQ(run.code, kExitOk);
  EXPECT_THAT(run.err, HasSubstr("lf.container: note: the container is not written the way compile writes one"));
  EXPECT_EQ(ContainerOf(run.out, "x.cvscript"), container);
}

TEST_F(ScriptTool, FailuresGiveTheDocumentedExitCodes) {
  WriteBytes(Path("bad.cvscript"), "title: ok\nscript:\n  Set Variable [bogus]\n");
  WriteBytes(Path("damaged.container"), "Set Variable\r\n$\r\n");
  WriteBytes(Path("text.exe"), "not an executable");
  const std::string image = AsText(test::MiniPe(224, {{0x400, 0x200}}));
  WriteBytes(Path("bare.exe"), image);
  WriteBytes(Path("symbols.exe"), image + "symbol table");
  WriteBytes(Path("cut.exe"), image.substr(0, image.size() - 1));
  fs::create_directories(folder_ / "a folder");

  struct Case {
    std::vector<std::string> arguments;
    int code;
    std::string message;
  };
  const Case cases[] = {
      {{}, kExitUsage, "Usage:"},
      {{"build", "x"}, kExitUsage, "unknown command \"build\""},
      {{"compile", Path("setup.cvscript")}, kExitUsage, "compile needs -o OUTPUT"},
      {{"compile", "-o", Path("x")}, kExitUsage, "compile needs an input file"},
      {{"compile", Path("setup.cvscript"), "-o"}, kExitUsage, "-o needs a file name"},
      {{"compile", Path("setup.cvscript"), "-o", Path("x"), "-o", Path("y")}, kExitUsage, "-o is given twice"},
      {{"compile", Path("setup.cvscript"), Path("more"), "-o", Path("x")}, kExitUsage, "is one too many"},
      {{"compile", Path("setup.cvscript"), "-o", Path("x"), "--quiet"}, kExitUsage, "unknown option \"--quiet\""},
      {{"dump", Path("setup.container"), "--engine", Path("e")}, kExitUsage, "unknown option \"--engine\""},
      {{"compile", Path("missing.cvscript"), "-o", Path("x")}, kExitFileError,
       Path("missing.cvscript") + ": cannot be opened"},
      {{"compile", Path("setup.cvscript"), "-o", Path("a folder")}, kExitFileError, "a folder: cannot be opened for writing"},
      {{"compile", Path("bad.cvscript"), "-o", Path("x")}, kExitBadInput,
       Path("bad.cvscript") + ":3: unknown attribute \"bogus\""},
      {{"compile", Path("setup.cvscript"), "--engine", Path("text.exe"), "-o", Path("x")}, kExitBadInput,
       "text.exe: not a Windows executable"},
      {{"compile", Path("setup.cvscript"), "--engine", Path("cut.exe"), "-o", Path("x")}, kExitBadInput,
       "cut.exe: not a Windows executable, or cut short"},
      {{"dump", Path("damaged.container")}, kExitBadInput, "section 2 (command GUIDs) ends before"},
      {{"dump", Path("bare.exe")}, kExitBadInput, "bare.exe: the executable carries no script container"},
      {{"dump", Path("symbols.exe")}, kExitBadInput, "the data after the executable image is not a script container"},
      {{"dump", Path("cut.exe")}, kExitBadInput, "cut.exe: not a Windows executable, or cut short"},
  };
  for (const Case& c : cases) {
    const TRun run = RunTool(c.arguments);
    const std::string what = c.arguments.empty() ? "(none)" : c.arguments.front() + " ... " + c.arguments.back();
    EXPECT_EQ(run.code, c.code) << what << "\n" << run.err;
    EXPECT_THAT(run.err, HasSubstr(c.message)) << what;
    EXPECT_EQ(run.out, "") << what;
  }
  EXPECT_FALSE(fs::exists(folder_ / "x"));
}

TEST_F(ScriptTool, HelpShowsTheUsage) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"}, {"compile", "-h"}}) {
    const TRun run = RunTool(arguments);
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_THAT(run.out, StartsWith("Usage:\n  corvane-script compile SOURCE -o OUTPUT [--engine ENGINE.exe]\n"));
    EXPECT_THAT(run.out, HasSubstr("Exit codes: 0 done; 1 faulty"));
  }
}

}  // namespace
}  // namespace corvane::authoring
