// The service route through real COM activation of the stand-in service,
// which the test setup registered in the prefix with regsvr32. Each case
// runs on a thread of its own, so the COM state of one cannot leak into
// the next.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "devcmd/passthrough_service.h"
#include "devcmd/service_transport.h"
#include "devcmd/win32_command_host.h"
#include "stand-ins/passthrough_service/service_control.h"
#include "tests/devcmd/simulated_fixture.h"

namespace {

using devcmdtest::kPlayerDrive;
using passthrough_standin::ServiceStatistics;
using Bytes = std::vector<uint8_t>;

// The stand-in DLL as COM loads it: the registered path is the one beside
// this program, so loading that path gives the same module.
class StandIn {
 public:
  StandIn() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    m_module = ::LoadLibraryW((folder + L"passthrough_service.dll").c_str());
    if (!m_module) return;
    attach = Get<passthrough_standin::AttachDeviceFn>(passthrough_standin::kAttachDevice);
    restart = Get<passthrough_standin::RestartServiceFn>(passthrough_standin::kRestartService);
    setAvailable = Get<passthrough_standin::SetAvailableFn>(passthrough_standin::kSetAvailable);
    statistics = Get<passthrough_standin::GetStatisticsFn>(passthrough_standin::kGetStatistics);
    reset = Get<passthrough_standin::ResetServiceFn>(passthrough_standin::kResetService);
  }
  ~StandIn() {
    if (m_module) ::FreeLibrary(m_module);
  }
  bool loaded() const { return m_module && attach && restart && setAvailable && statistics && reset; }
  ServiceStatistics stats() const {
    ServiceStatistics s{};
    statistics(&s);
    return s;
  }

  passthrough_standin::AttachDeviceFn attach = nullptr;
  passthrough_standin::RestartServiceFn restart = nullptr;
  passthrough_standin::SetAvailableFn setAvailable = nullptr;
  passthrough_standin::GetStatisticsFn statistics = nullptr;
  passthrough_standin::ResetServiceFn reset = nullptr;

 private:
  template <class Fn>
  Fn Get(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
  }
  HMODULE m_module = nullptr;
};

class ServiceRoute : public devcmdtest::SimulatedSystemTest {
 protected:
  void SetUp() override {
    SimulatedSystemTest::SetUp();
    ASSERT_TRUE(standIn.loaded());
    standIn.reset();
    standIn.attach(kPlayerDrive, &player);
    sim.setClassification(7, 2);
  }
  void TearDown() override {
    EXPECT_EQ(standIn.stats().liveObjects, 0);
    standIn.reset();
    SimulatedSystemTest::TearDown();
  }
  // Runs body on a new thread, where COM has not been initialised.
  static void OnFreshThread(const std::function<void()>& body) { std::thread(body).join(); }

  StandIn standIn;
};

TEST_F(ServiceRoute, ExportsReachThePlayerThroughTheService) {
  OnFreshThread([&] {
    char text[31];
    int result = -1;
    EXPECT_EQ(GetInquiry(text, &result), 0);
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(text, "KELTAN   PELLMARK PLAYER  1.00");
    EXPECT_EQ(SetUserNameDevice(0x0102, "AB", &result), 0);
    EXPECT_EQ(result, 0);
    SETPREFERENCEMENU menu{};
    SETPREFERENCETIMERREC timer{};
    EXPECT_EQ(GetPreferenceInfo(&menu, &timer, &result), 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Reset(&result), 0);
    EXPECT_EQ(result, 0);
  });
  const ServiceStatistics s = standIn.stats();
  EXPECT_EQ(s.calls[devcmd::kSlotInquiry], 1);
  EXPECT_EQ(s.calls[devcmd::kSlotSendOut], 1);
  EXPECT_EQ(s.calls[devcmd::kSlotSendIn], 1);
  EXPECT_EQ(s.calls[devcmd::kSlotSendNoData], 1);
  EXPECT_EQ(s.lastDrive, kPlayerDrive);
  EXPECT_EQ(s.objectsCreated, 4);  // one per exported call
  EXPECT_EQ(player.owner()->number, 0x0102);
  EXPECT_EQ(player.resetCount(), 1);
  // On the uninitialised thread each context initialised COM once, retried
  // the creation, and undid the initialisation when it ended.
  const auto c = sim.counters();
  EXPECT_EQ(c.coCreateInstance, 8);
  EXPECT_EQ(c.coInitialize, 4);
  EXPECT_EQ(c.coUninitialize, 4);
  EXPECT_EQ(c.volumeOpens, 0);
}

TEST_F(ServiceRoute, AnInitialisedThreadNeedsNoRetry) {
  OnFreshThread([&] {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    int result = -1;
    EXPECT_EQ(Reset(&result), 0);
    EXPECT_EQ(result, 0);
    ::CoUninitialize();
  });
  EXPECT_EQ(sim.counters().coCreateInstance, 1);
  EXPECT_EQ(sim.counters().coInitialize, 0);
}

TEST_F(ServiceRoute, InquirySettingZeroUsesSendIn) {
  sim.setRegistryString(devcmd::kInquirySettingKey, "GetInquiryType", "0");
  OnFreshThread([&] {
    char text[31];
    int result = -1;
    EXPECT_EQ(GetInquiry(text, &result), 0);
    EXPECT_EQ(result, 1);
  });
  EXPECT_EQ(standIn.stats().calls[devcmd::kSlotInquiry], 0);
  EXPECT_EQ(standIn.stats().calls[devcmd::kSlotSendIn], 1);
  EXPECT_EQ(player.commands().back().cdb, (Bytes{0x12, 0, 0, 0, 36, 0}));
}

TEST_F(ServiceRoute, ServiceFailuresFailTheCommands) {
  OnFreshThread([&] {
    player.reportSense(scsiplayer::kSenseNotReady, 0x3A, 0x01);
    {
      devcmd::ServiceTransport transport(sim);
      ASSERT_TRUE(transport.connected());
      ASSERT_EQ(transport.SelectDrive(kPlayerDrive), hr::kOk);
      const uint8_t cdb[12] = {0xFC, 0, 0x80, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 0};
      EXPECT_EQ(transport.SendNoData(cdb, 12), hr::kFail);
      EXPECT_EQ(Bytes(transport.lastStatus(), transport.lastStatus() + 3), (Bytes{0x02, 0x3A, 0x01}));
      EXPECT_EQ(transport.SendNoData(nullptr, 12), hr::kPointer);
    }
    player.clearSense();
    // A drive no player answers for.
    sim.addDrive('E', DRIVE_REMOVABLE);
    SetDriveNo(4);
    int result = -1;
    EXPECT_EQ(SetUserNameDevice(1, "A", &result), 0);
    EXPECT_EQ(result, 16);
  });
  EXPECT_EQ(standIn.stats().calls[devcmd::kSlotSendNoData], 1);
}

TEST_F(ServiceRoute, ADisconnectedServiceIsCreatedAgainOnce) {
  OnFreshThread([&] {
    devcmd::ServiceTransport transport(sim);
    ASSERT_EQ(transport.SelectDrive(kPlayerDrive), hr::kOk);
    standIn.restart();
    const uint8_t cdb[12] = {0xFC, 0, 0x80, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 0};
    EXPECT_EQ(transport.SendNoData(cdb, 12), hr::kOk);
    EXPECT_EQ(player.resetCount(), 1);
    EXPECT_EQ(standIn.stats().objectsCreated, 2);
    EXPECT_EQ(standIn.stats().liveObjects, 1);  // the old object was released
    EXPECT_EQ(standIn.stats().calls[devcmd::kSlotSendNoData], 2);
    // Re-created without the CoInitialize fallback.
    EXPECT_EQ(sim.counters().coInitialize, 1);

    // When the service cannot be created again, its error is the result
    // and the transport is left without a service.
    standIn.restart();
    standIn.setAvailable(FALSE);
    EXPECT_EQ(transport.SendNoData(cdb, 12), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(transport.connected());
    EXPECT_EQ(transport.SendNoData(cdb, 12), hr::kFail);
    EXPECT_EQ(standIn.stats().calls[devcmd::kSlotSendNoData], 3);
  });
  EXPECT_EQ(player.resetCount(), 1);
}

TEST_F(ServiceRoute, MethodsSitInTheirTableSlots) {
  OnFreshThread([&] {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    void* raw = nullptr;
    ASSERT_EQ(::CoCreateInstance(devcmd::kClsidPassThroughService, nullptr, devcmd::kServiceClassContext,
                                 devcmd::kIidPassThroughService, &raw),
              S_OK);
    // Called by slot number, past the C++ declaration.
    using InquirySlot = HRESULT(STDMETHODCALLTYPE*)(void*, short, ULONG, BYTE*, BYTE*);
    using NoDataSlot = HRESULT(STDMETHODCALLTYPE*)(void*, short, ULONG, const BYTE*, BYTE*);
    void** table = *static_cast<void***>(raw);
    BYTE data[36] = {};
    BYTE status[3] = {};
    EXPECT_EQ(reinterpret_cast<InquirySlot>(table[10])(raw, kPlayerDrive, 36, data, status), S_OK);
    EXPECT_EQ(std::memcmp(data + 8, "KELTAN  ", 8), 0);
    const BYTE cdb[12] = {0xFC, 0, 0x80, 'D', 'R', 'E', 'S', 'K', 'A', 'L', 0, 0};
    EXPECT_EQ(reinterpret_cast<NoDataSlot>(table[3])(raw, kPlayerDrive, 12, cdb, status), S_OK);
    static_cast<IUnknown*>(raw)->Release();
    ::CoUninitialize();
  });
  EXPECT_EQ(standIn.stats().calls[10], 1);
  EXPECT_EQ(standIn.stats().calls[3], 1);
  EXPECT_EQ(player.resetCount(), 1);
}

}  // namespace
