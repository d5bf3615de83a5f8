#include <gtest/gtest.h>

#include <utility>

#include "installer/installer_api.h"
#include "installer/tests/mock_installer_api.h"

namespace corvane {
namespace {

using test::TMockInstallerApi;
using testing::Return;
using testing::StrictMock;
using testing::Throw;

TEST(InstallerHandle, ClosesItsHandleOnceWhereverItMoves) {
  StrictMock<TMockInstallerApi> api;
  EXPECT_CALL(api, CloseHandle(41u)).WillOnce(Return(0u));
  EXPECT_CALL(api, CloseHandle(42u)).WillOnce(Return(0u));
  {
    TInstallerHandle first(api, 41);
    TInstallerHandle second(api, 42);
    TInstallerHandle moved(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(moved.Get(), 41u);
    second = std::move(moved);  // closes 42, takes 41
    EXPECT_EQ(second.Get(), 41u);
    TInstallerHandle none;
    none = TInstallerHandle();
  }
}

TEST(InstallerHandle, ReplyCarriesTheHandleOutOfTheCall) {
  StrictMock<TMockInstallerApi> api;
  EXPECT_CALL(api, OpenDatabase("C:\\setup.msi", TDatabaseOpenMode::Direct)).WillOnce([&api] {
    return TInstallerReply<TInstallerHandle>{kInstallerSuccess, TInstallerHandle(api, 7)};
  });
  EXPECT_CALL(api, CloseHandle(7u)).WillOnce(Return(0u));
  auto database = api.OpenDatabase("C:\\setup.msi", TDatabaseOpenMode::Direct);
  ASSERT_TRUE(database.Succeeded());
  EXPECT_EQ(database.value.Get(), 7u);
}

TEST(InstallerHandle, CloseThatCannotBindDoesNotEscapeTheDestructor) {
  StrictMock<TMockInstallerApi> api;
  EXPECT_CALL(api, CloseHandle(9u))
      .WillOnce(Throw(TInstallerBindError::FunctionNotFound(kInstallerLibrary, "MsiCloseHandle")));
  EXPECT_NO_THROW(TInstallerHandle(api, 9));
}

TEST(InstallerBindError, TextsNameTheLibraryAndTheFunction) {
  EXPECT_STREQ(TInstallerBindError::LibraryNotFound(kInstallerLibrary).what(), "Library not found: msi.dll");
  EXPECT_STREQ(TInstallerBindError::FunctionNotFound(kInstallerLibrary, "MsiViewFetch").what(),
               "Function not found: msi.dll.MsiViewFetch");
}

}  // namespace
}  // namespace corvane
