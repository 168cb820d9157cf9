#include "contract/ServiceManagerContract.h"

namespace linkscope {

namespace {

constexpr const char* kContractService = "LinkscopeContractSvc";

std::uint32_t StateOf(IServiceManager& manager, ServiceHandle service) {
  std::uint32_t state = 0;
  return manager.QueryState(service, &state) ? state : 0;
}

}  // namespace

TEST_P(ServiceManagerContract, AServiceThatIsNotInstalledDoesNotOpen) {
  IServiceManager& manager = world_->Manager();
  const ServiceHandle scm = manager.OpenManager(kScManagerConnect);
  ASSERT_NE(0u, scm);
  std::uint32_t error = 0;
  EXPECT_EQ(0u, manager.OpenNamedService(scm, "LinkscopeNoSuchService", kServiceQueryStatus,
                                         &error));
  EXPECT_EQ(kServiceDoesNotExist, error);
  EXPECT_TRUE(manager.CloseHandle(scm));
}

TEST_P(ServiceManagerContract, AServiceIsStoppedRunningAndStoppedAgainByAnyLetterCase) {
  ASSERT_TRUE(world_->Install(kContractService));
  IServiceManager& manager = world_->Manager();
  const ServiceHandle scm = manager.OpenManager(kScManagerConnect);
  ASSERT_NE(0u, scm);
  const ServiceHandle service =
      manager.OpenNamedService(scm, "linkscopecontractSVC", kServiceQueryStatus, nullptr);
  ASSERT_NE(0u, service);
  EXPECT_EQ(kServiceStopped, StateOf(manager, service));

  ASSERT_TRUE(world_->SetRunning(kContractService, true));
  // The same handle tells the state as it is now.
  EXPECT_EQ(kServiceRunning, StateOf(manager, service));
  ASSERT_TRUE(world_->SetRunning(kContractService, false));
  EXPECT_EQ(kServiceStopped, StateOf(manager, service));
  EXPECT_TRUE(manager.CloseHandle(service));

  world_->Remove(kContractService);
  std::uint32_t error = 0;
  EXPECT_EQ(0u, manager.OpenNamedService(scm, kContractService, kServiceQueryStatus, &error));
  EXPECT_EQ(kServiceDoesNotExist, error);
  EXPECT_TRUE(manager.CloseHandle(scm));
}

}  // namespace linkscope
