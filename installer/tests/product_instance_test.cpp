// Which instance a run belongs to, decided with a stand-in installer and a
// fake machine, through the run's whole start.
#include "installer/product_instance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dialogs/feature_commands.h"
#include "installer/tests/mock_installer_api.h"
#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using ::testing::NiceMock;
using ::testing::Return;
using testing::TLine;

constexpr const char* kProductCode = "{C0FFEE42-1111-2222-3333-444455556666}";
constexpr const char* kRevisionCode = "{AB12CD34-0000-0000-0000-000000000001}";
constexpr const char* kUserMaintenance = R"(C:\Users\me\Application Data\{AB12CD34-0000-0000-0000-000000000001}\)";
constexpr const char* kAllUsersMaintenance =
    R"(C:\Users\Public\Application Data\{AB12CD34-0000-0000-0000-000000000001}\)";

TContainerSections Product(int mediaLayout = 0) {
  TContainerSections sections;
  sections.productCode = kProductCode;
  sections.revisionCode = kRevisionCode;
  sections.title = "Acme Tools";
  sections.mediaLayout = mediaLayout;
  sections.componentSizes = {"ZOLT-PREDEF-COMPONENT", "1000", "Docs", "200", "Samples", "30"};
  return sections;
}

// A run started by the real initialiser over the real instance logic.
struct TInstanceRun {
  explicit TInstanceRun(TContainerSections containerSections = Product(), TStartOptions options = {})
      : runner(std::move(options)), sections(std::move(containerSections)), model(sections.componentSizes) {
    RegisterInstanceCommands(runner.commands, instance);
    RegisterFeatureCommands(runner.commands, model);
    runner.commands.Register("Snapshot", [this](TRunContext& run) {
      if (!firstSeen) firstSeen = run.Store().Variables();
    });
  }
  void Installed(int state, std::string packageCode = kRevisionCode) {
    ON_CALL(installer, QueryProductState(kProductCode)).WillByDefault(Return(state));
    ON_CALL(installer, GetProductInfo(kProductCode, "PackageCode"))
        .WillByDefault(Return(TInstallerReply<std::string>{kInstallerSuccess, std::move(packageCode)}));
  }
  int Run(std::vector<TLine> lines = {{"Snapshot", {}}}) {
    const TScriptContainer container(testing::MakeSections(lines, sections));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands,
                             {.initialiser = initialiser, .hooks = {&instance}});
    return interpreter.Run(container, testing::kTestPackagePath);
  }
  std::string Seen(std::string_view name) const {
    for (const TVariable& variable : firstSeen.value_or(std::vector<TVariable>{})) {
      if (variable.name == name) return variable.value;
    }
    return "<undefined>";
  }
  std::vector<std::string> ComponentNames() const {
    std::vector<std::string> names;
    for (const TComponent& component : model.Components()) names.push_back(component.name + "=" + component.state);
    return names;
  }

  testing::TScriptRunner runner;
  TContainerSections sections;
  NiceMock<test::TMockInstallerApi> installer;
  TFeatureModel model;
  TProductInstance instance{runner.system, installer, model};
  TSetupInit initialiser{{.system = runner.system, .product = instance}};
  std::optional<std::vector<TVariable>> firstSeen;
};

TEST(InstanceDetection, InstalledStateDecidesMaintenanceAndUpgrade) {
  struct Case {
    const char* name;
    int state;
    const char* packageCode;
    const char* needsUpgrade;
    const char* maintenance;
    const char* newInstance;
    const char* targetDir;
  } cases[] = {
      {"not installed", 2, kRevisionCode, "FALSE", "FALSE", "FALSE", R"(C:\Users\me\Acme Tools\)"},
      {"same package", 5, kRevisionCode, "FALSE", "TRUE", "TRUE", ""},
      {"same package, other case", 5, "{ab12cd34-0000-0000-0000-000000000001}", "FALSE", "TRUE", "TRUE", ""},
      {"other package", 5, "{99999999-0000-0000-0000-000000000001}", "TRUE", "FALSE", "TRUE",
       R"(C:\Users\me\Acme Tools\)"},
  };
  for (const Case& c : cases) {
    TInstanceRun run;
    run.Installed(c.state, c.packageCode);
    run.Run();
    EXPECT_EQ(run.Seen("PRODUCTCODE"), kProductCode) << c.name;
    EXPECT_EQ(run.Seen("REVISIONCODE"), kRevisionCode) << c.name;
    EXPECT_EQ(run.Seen("NEEDSUPGRADE"), c.needsUpgrade) << c.name;
    EXPECT_EQ(run.Seen("MAINTENANCE"), c.maintenance) << c.name;
    EXPECT_EQ(run.Seen("NEWINSTANCE"), c.newInstance) << c.name;
    EXPECT_EQ(run.Seen("TARGETDIR"), c.targetDir) << c.name;
  }
}

TEST(InstanceDetection, FirstCommandFindsExactlyThePredefinedVariables) {
  TInstanceRun run;
  run.Run();
  std::vector<std::string> names;
  for (const TVariable& variable : run.firstSeen.value_or(std::vector<TVariable>{})) names.push_back(variable.name);
  const std::vector<std::string> expected = {
      "TARGETDIR", "STARTMENU", "ALLUSERS", "PRODUCTCODE", "REVISIONCODE", "UNINSTALLLINK", "DATADIR",
      "NEEDSUPGRADE", "MAINTENANCE", "NEWINSTANCE", "NOBRAND", "SELECTED", "WINDOWHANDLE", "EXEFILE", "EXEDIR",
      "PROGRESSTEXT", "PROGRESSMODE", "ABORT", "PROGRESS", "LASTERROR", "LICENSE", "USERNAME", "USERCOMPANY",
      "REBOOTCOMPUTER", "RUNAPP", "WIZARD", "VERSION", "SILENT", "LOGGED", "CMDLINE", "SFXPATH", "SFXFILE",
      "COMPLETE", "MINIMUM", "PERSONALIZED", "MODIFY", "REPAIR", "REMOVE", "ROOTDIR", "TITLE", "COMPANY",
      "ADVERTISE", "DATE", "TIME", "TEMPDIR", "SUPPORTDIR", "MSIFILE", "LANGUAGE"};
  EXPECT_EQ(names, expected);
}

TEST(InstanceDetection, InstallerFailuresReadAsFirstInstall) {
  TInstanceRun missing;
  ON_CALL(missing.installer, QueryProductState).WillByDefault([](const std::string&) -> int {
    throw TInstallerBindError::LibraryNotFound(kInstallerLibrary);
  });
  TInstanceRun unanswered;
  unanswered.Installed(5);
  ON_CALL(unanswered.installer, GetProductInfo)
      .WillByDefault(Return(TInstallerReply<std::string>{1605, "{AB12CD34-0000-0000-0000-000000000001}"}));
  for (TInstanceRun* run : {&missing, &unanswered}) {
    run->Run();
    EXPECT_EQ(run->Seen("NEEDSUPGRADE"), "FALSE");
    EXPECT_EQ(run->Seen("MAINTENANCE"), "FALSE");
    EXPECT_EQ(run->Seen("NEWINSTANCE"), "FALSE");
    EXPECT_TRUE(run->runner.host.boxes.empty());
  }
}

TEST(InstanceDetection, DefaultsFollowTheUsersRights) {
  struct Case {
    bool nt, administrator;
    const char* targetDir;
    const char* allUsers;
    const char* uninstallLink;
  } cases[] = {
      {true, true, R"(C:\Program Files\Acme Tools\)", "TRUE", kAllUsersMaintenance},
      {true, false, R"(C:\Users\me\Acme Tools\)", "FALSE", kUserMaintenance},
      {false, true, R"(C:\Program Files\Acme Tools\)", "FALSE",
       R"(C:\Program Files\Common Files\{AB12CD34-0000-0000-0000-000000000001}\)"},
  };
  for (const Case& c : cases) {
    TInstanceRun run;
    run.runner.system.ntFamily = c.nt;
    run.runner.system.administrator = c.administrator;
    run.Run();
    EXPECT_EQ(run.Seen("TARGETDIR"), c.targetDir);
    EXPECT_EQ(run.Seen("STARTMENU"), "Acme Tools");
    EXPECT_EQ(run.Seen("ALLUSERS"), c.allUsers);
    EXPECT_EQ(run.Seen("UNINSTALLLINK"), std::string(c.uninstallLink) + "setup.exe");
    EXPECT_EQ(run.instance.MaintenanceFolder(c.allUsers == std::string("TRUE") ? TInstanceScope::AllUsers
                                                                                : TInstanceScope::CurrentUser),
              c.uninstallLink);
  }
}

TEST(InstanceDetection, DataFolderOfTheMediaLayout) {
  TInstanceRun beside;
  beside.Run();
  EXPECT_EQ(beside.Seen("DATADIR"), R"(C:\Users\me\kel1\data\)");
  EXPECT_EQ(beside.instance.OfflineSourceFolder(), "");

  TInstanceRun onDemand(Product(2));
  onDemand.Run();
  EXPECT_EQ(onDemand.Seen("DATADIR"), kUserMaintenance);
  EXPECT_EQ(onDemand.instance.DataFolder(), kUserMaintenance);
  EXPECT_EQ(onDemand.instance.OfflineSourceFolder(), R"(C:\Users\me\kel1\data\)");
}

TEST(InstanceDetection, InstanceFileGivesTheCachedCopysIdentity) {
  TInstanceRun run;
  run.runner.system.files[R"(C:\Users\me\kel1\instance.dat)"] =
      "{C0FFEE42-1111-2222-3333-444455556666}\r\n{AB12CD34-0000-0000-0000-000000000001}\r\nAcme Tools Pro\r\n";
  run.sections.revisionCode = "{FFFFFFFF-0000-0000-0000-000000000000}";
  run.sections.title = "Acme";
  run.Installed(5);
  run.Run();
  EXPECT_EQ(run.Seen("REVISIONCODE"), kRevisionCode);
  EXPECT_EQ(run.Seen("TITLE"), "Acme Tools Pro");
  EXPECT_EQ(run.Seen("MAINTENANCE"), "TRUE");
  EXPECT_EQ(run.Seen("NEWINSTANCE"), "FALSE");
}

TEST(InstanceDetection, MaintenanceReloadsSelectionsAndRecordedProperties) {
  struct Case {
    const char* folder;
    TStartOptions options;
    const char* targetDir;
  } cases[] = {
      {kUserMaintenance, {}, R"(D:\Acme\)"},
      {kAllUsersMaintenance, {}, R"(D:\Acme\)"},
      {kUserMaintenance, {.overrides = {{"TARGETDIR", R"(E:\Elsewhere\)"}}}, R"(E:\Elsewhere\)"},
  };
  for (const Case& c : cases) {
    TContainerSections sections = Product();
    sections.headerTable = {"HDR", "0"};
    TInstanceRun run(sections, c.options);
    run.Installed(5);
    const std::string folder = c.folder;
    run.runner.system.files[folder + "setup.dat"] =
        "ZOLT-PREDEF-COMPONENT\r\nDocs\r\nSamples\r\n$\r\nTRUE\r\nFALSE\r\nTRUE\r\n$\r\nD:\\Acme\\\r\nTRUE\r\nAcme "
        "Menu\r\nC:\\DATA~1\\\r\n";
    run.runner.system.files[folder + "setup.par"] = "AOLD\r\nTRUE\r\nPOLD_1\r\nC:\\x$NEWLINE$y\r\n";
    run.Run({{"Snapshot", {}},
             {"Define Component", {"Docs", "TRUE", "Manuals"}},
             {"Get Component State", {"Docs", "DOCS"}},
             {"Get Component State", {"Samples", "SAMPLES"}}});
    EXPECT_EQ(run.Seen("TARGETDIR"), c.targetDir);
    EXPECT_EQ(run.Seen("ALLUSERS"), "TRUE");
    EXPECT_EQ(run.Seen("STARTMENU"), "Acme Menu");
    EXPECT_EQ(run.ComponentNames(),
              (std::vector<std::string>{"ZOLT-PREDEF-COMPONENT=TRUE", "Docs=FALSE", "Samples=TRUE"}));
    EXPECT_EQ(run.model.InstalledSize(), 1030);
    EXPECT_EQ(run.runner.Value("DOCS"), "FALSE");  // a redefinition keeps the loaded state
    EXPECT_EQ(run.runner.Value("SAMPLES"), "TRUE");
    EXPECT_EQ(run.runner.engine.deferred.recordedProperties,
              (std::vector<std::string>{"AOLD", "TRUE", "POLD_1", "C:\\x$NEWLINE$y", "AHDR", "FALSE"}));
  }
}

// Without a selections file the folder of the all-users scope is the one read.
TEST(InstanceDetection, RecordedPropertiesLoadWithoutSavedSelections) {
  const std::string cache = R"(C:\Users\Public\Application Data\{0LD00000-0000-0000-0000-000000000000}\)";
  for (bool patch : {false, true}) {
    TInstanceRun run;
    if (patch) {
      run.runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
      run.runner.system.registry[{TRegistryRoot::CurrentUser, std::string(kUninstallKey) + "Acme Tools",
                                  "UninstallString"}] = "\"" + cache + "setup.exe\"";
      run.runner.system.files[cache + "setup.par"] = "AOLD\r\nTRUE\r\n";
    } else {
      run.Installed(5);
      run.runner.system.files[std::string(kAllUsersMaintenance) + "setup.par"] = "AOLD\r\nTRUE\r\n";
    }
    run.Run();
    EXPECT_EQ(run.runner.engine.deferred.recordedProperties, (std::vector<std::string>{"AOLD", "TRUE"})) << patch;
    EXPECT_EQ(run.ComponentNames(), (std::vector<std::string>{"ZOLT-PREDEF-COMPONENT=TRUE"})) << patch;
  }
}

TEST(InstanceDetection, FirstInstallStartsFromThePredefinedComponentAlone) {
  TInstanceRun run;
  run.runner.engine.deferred.recordedProperties = {"ASTALE", "TRUE"};
  run.runner.system.files[std::string(kUserMaintenance) + "setup.dat"] = "Docs\r\n$\r\nTRUE\r\n$\r\nD:\\\r\n";
  run.Run();
  EXPECT_EQ(run.ComponentNames(), (std::vector<std::string>{"ZOLT-PREDEF-COMPONENT=TRUE"}));
  EXPECT_EQ(run.model.InstalledSize(), 0);
  EXPECT_TRUE(run.runner.engine.deferred.recordedProperties.empty());
}

TEST(UninstallLink, FollowsAllUsersBeforeEveryCommand) {
  TInstanceRun run;
  run.Run({{"Set Variable", {"ALLUSERS", "TRUE"}}, {"Set Variable", {"SEEN", "$UNINSTALLLINK$"}}});
  EXPECT_EQ(run.runner.Value("SEEN"), std::string(kAllUsersMaintenance) + "setup.exe");
}

TEST(UninstallLink, MarkerLayoutReadsTheRegisteredUninstallString) {
  const std::string key = std::string(kUninstallKey) + "Acme Tools";
  struct Case {
    TRegistryRoot root;
    const char* allUsers;
    const char* seen;
  } cases[] = {
      {TRegistryRoot::CurrentUser, "FALSE", R"(C:\Cache\setup.exe)"},
      {TRegistryRoot::LocalMachine, "TRUE", R"(C:\Cache\setup.exe)"},
      {TRegistryRoot::LocalMachine, "FALSE", ""},
  };
  for (const Case& c : cases) {
    TInstanceRun run(Product(3));
    run.runner.system.registry[{c.root, key, "UninstallString"}] = R"("C:\Cache\setup.exe" REMOVE=TRUE MODIFY=FALSE)";
    run.Run({{"Set Variable", {"ALLUSERS", c.allUsers}}, {"Set Variable", {"SEEN", "$UNINSTALLLINK$"}}});
    EXPECT_EQ(run.runner.Value("SEEN"), c.seen);
  }
}

TEST(TransformInstance, OnlyANewInstanceWithoutPatchGetsNewCodes) {
  struct Case {
    int state;
    bool patch;
    bool transformed;
  } cases[] = {{5, false, true}, {2, false, false}, {5, true, false}};
  for (const Case& c : cases) {
    TInstanceRun run;
    run.Installed(c.state);
    if (c.patch) run.runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
    run.Run({{"Transform Instance", {}}, {"Set Variable", {"SEEN", "$PRODUCTCODE$ $REVISIONCODE$ $MAINTENANCE$"}}});
    EXPECT_EQ(run.instance.NewInstanceRequested(), c.transformed);
    const std::string codes = c.transformed ? "{NEW-GUID-1} {NEW-GUID-2} FALSE"
                                            : std::string(kProductCode) + " " + kRevisionCode +
                                                  (c.state == 5 ? " TRUE" : " FALSE");
    EXPECT_EQ(run.runner.Value("SEEN"), codes);
    if (c.transformed) {
      EXPECT_EQ(run.runner.Value("TARGETDIR"), R"(C:\Users\me\Acme Tools\)");
      EXPECT_EQ(run.runner.Value("UNINSTALLLINK"), R"(C:\Users\me\Application Data\{NEW-GUID-2}\setup.exe)");
    }
  }
}

TEST(IsMsiSetupInstalled, AsksTheInstallerForTheSubstitutedCode) {
  TInstanceRun run;
  ON_CALL(run.installer, QueryProductState("{AAAA}")).WillByDefault(Return(5));
  ON_CALL(run.installer, QueryProductState("{BBBB}")).WillByDefault(Return(1));
  run.Run({{"Set Variable", {"CODE", "{AAAA}"}},
           {"Is MSI Setup Installed", {"$CODE$", "first"}},
           {"Is MSI Setup Installed", {"{BBBB}", "$SECOND$"}}});
  EXPECT_EQ(run.runner.Value("FIRST"), "TRUE");
  EXPECT_EQ(run.runner.Value("SECOND"), "FALSE");
}

TEST(PatchPreparation, LoadsTheInstalledProductsSelections) {
  const std::string key = std::string(kUninstallKey) + "Acme Tools";
  const std::string cache = R"(\{0LD00000-0000-0000-0000-000000000000}\)";
  struct Case {
    TRegistryRoot root;
    const char* appData;
  } cases[] = {
      {TRegistryRoot::CurrentUser, R"(C:\Users\me\Application Data)"},
      {TRegistryRoot::LocalMachine, R"(C:\Users\Public\Application Data)"},
  };
  for (const Case& c : cases) {
    TInstanceRun run;
    run.runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
    run.runner.system.registry[{c.root, key, "UninstallString"}] =
        "\"" + std::string(c.appData) + cache + "setup.exe\" REMOVE=TRUE MODIFY=FALSE";
    run.runner.system.files[c.appData + cache + "setup.dat"] =
        "Docs\r\nSamples\r\n$\r\nTRUE\r\nFALSE\r\n$\r\nD:\\Acme\\\r\nFALSE\r\nAcme\r\n";
    run.runner.system.files[c.appData + cache + "setup.par"] = "AOLD\r\nTRUE\r\n";
    run.Run();
    EXPECT_EQ(run.ComponentNames(),
              (std::vector<std::string>{"Docs=TRUE", "Samples=FALSE", "ZOLT-PREDEF-COMPONENT=TRUE"}));
    EXPECT_EQ(run.model.InstalledSize(), 200);
    EXPECT_EQ(run.Seen("TARGETDIR"), R"(D:\Acme\)");
    EXPECT_EQ(run.Seen("REVISIONCODE"), kRevisionCode);
    EXPECT_EQ(run.runner.engine.deferred.recordedProperties, (std::vector<std::string>{"AOLD", "TRUE"}));
  }
}

TEST(PatchPreparation, NothingRegisteredLeavesTheFirstInstallSeed) {
  TInstanceRun run;
  run.runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
  run.Run();
  EXPECT_EQ(run.ComponentNames(), (std::vector<std::string>{"ZOLT-PREDEF-COMPONENT=TRUE"}));
  EXPECT_TRUE(run.runner.engine.deferred.recordedProperties.empty());
}

}  // namespace
}  // namespace corvane
