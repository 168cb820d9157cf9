// The platform contracts, run against the in-memory fakes.

#include "contract/DialogItemsContract.h"
#include "contract/PrivateProfileContract.h"
#include "contract/RegistryContract.h"
#include "contract/ServiceManagerContract.h"
#include "contract/WindowSystemContract.h"
#include "fakes/FakeDialogSystem.h"
#include "fakes/FakePrivateProfile.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeServiceManager.h"
#include "fakes/FakeWindowSystem.h"

namespace linkscope {
namespace {

class FakeIniWorld : public IniWorld {
 public:
  IPrivateProfile& Profile() override { return profile_; }
  std::string WriteFile(const std::string& name, const std::string& content) override {
    const std::string path = "C:\\contract\\" + name;
    profile_.SetFile(path, content);
    return path;
  }
  std::string MissingPath() override { return "C:\\contract\\no-such-file.ini"; }

 private:
  FakePrivateProfile profile_;
};

class FakeDialogWorld : public DialogWorld {
 public:
  IDialogSystem& Dialogs() override { return dialogs_; }
  WindowHandle Host() override { return host_; }
  void Type(WindowHandle dialog, int id, const std::string& text) override {
    if (FakeDialogItems* items = dialogs_.Items(dialog)) items->Type(id, text);
  }
  void Click(WindowHandle dialog, int id) override { dialogs_.Click(dialog, id); }
  std::string BitmapFile() override {
    dialogs_.imageFiles.insert("C:\\contract\\logo.bmp");
    return "C:\\contract\\logo.bmp";
  }

 private:
  FakeDialogSystem dialogs_;
  WindowHandle host_ = dialogs_.AddHostWindow();
};

INSTANTIATE_TEST_SUITE_P(Fake, DialogItemsContract,
                         ::testing::Values(DialogWorldImpl{
                             "Fake", [] { return std::make_unique<FakeDialogWorld>(); }}),
                         DialogWorldName);

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract,
                         ::testing::Values(RegistryImpl{
                             "Fake", [] { return std::make_unique<FakeRegistry>(); }}),
                         ImplName);

INSTANTIATE_TEST_SUITE_P(Fake, PrivateProfileContract,
                         ::testing::Values(PrivateProfileImpl{
                             "Fake", [] { return std::make_unique<FakeIniWorld>(); }}),
                         IniImplName);

INSTANTIATE_TEST_SUITE_P(Fake, WindowSystemContract,
                         ::testing::Values(WindowSystemImpl{
                             "Fake", [] { return std::make_unique<FakeWindowSystem>(); }}),
                         WindowImplName);

class FakeServiceWorld : public ServiceWorld {
 public:
  IServiceManager& Manager() override { return manager_; }
  bool Install(const std::string& name) override {
    manager_.Install(name);
    return true;
  }
  bool SetRunning(const std::string& name, bool running) override {
    manager_.SetState(name, running ? kServiceRunning : kServiceStopped);
    return true;
  }
  void Remove(const std::string& name) override { manager_.Remove(name); }

 private:
  FakeServiceManager manager_;
};

INSTANTIATE_TEST_SUITE_P(Fake, ServiceManagerContract,
                         ::testing::Values(ServiceWorldImpl{
                             "Fake", [] { return std::make_unique<FakeServiceWorld>(); }}),
                         ServiceWorldName);

}  // namespace
}  // namespace linkscope
