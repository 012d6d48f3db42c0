#include <gtest/gtest.h>

#include "device/library_binding.h"
#include "tests/device/standin_player.h"

namespace {

sys::Path BinFile(const wchar_t* name) { return sys::ProgramFolder() / name; }

bool ModuleLoaded(const sys::Path& path) { return ::GetModuleHandleW(path.c_str()) != nullptr; }

TEST(Binding, EveryFailureUnloadsTheModuleAndGivesItsResult) {
  struct Case {
    const wchar_t* file;
    HRESULT expected;
  };
  const Case cases[] = {
      {L"pm_missing_library.dll", HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
      {L"pm_exportless_library.dll", HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND)},
      {L"pm_refusing_library.dll", CLASS_E_CLASSNOTAVAILABLE},
  };
  for (const Case& c : cases) {
    device::PacBinding binding;
    EXPECT_EQ(device::BindPacLibrary(BinFile(c.file), binding), c.expected) << c.file;
    EXPECT_FALSE(binding.pac);
    EXPECT_FALSE(binding.module);
    EXPECT_FALSE(device::IsPacLibraryLoaded(BinFile(c.file)));
    EXPECT_FALSE(ModuleLoaded(BinFile(c.file))) << c.file;
  }
}

TEST(Binding, OneModuleServesEveryBinding) {
  device::PacBinding first, second;
  ASSERT_EQ(device::BindPacLibrary(device::DefaultPacLibraryPath(), first), S_OK);
  ASSERT_EQ(device::BindPacLibrary(device::DefaultPacLibraryPath(), second), S_OK);
  EXPECT_EQ(first.module.get(), second.module.get());
  EXPECT_NE(first.pac.get(), second.pac.get());
  EXPECT_TRUE(device::IsPacLibraryLoaded(device::DefaultPacLibraryPath()));
}

TEST(Binding, InitializeShowsMessage18435WhenTheLibraryIsMissing) {
  devicetest::StandInPlayer player("", false);
  player.wrap().SetLibraryPath(BinFile(L"pm_missing_library.dll"));
  EXPECT_EQ(player.wrap().Initialize(nullptr, L"c:\\temp", L"c:\\temp"), E_FAIL);
  EXPECT_EQ(player.events().messages, (std::vector<uint32_t>{18435}));
  EXPECT_EQ(player.wrap().Library(), nullptr);
  // Everything else declines without a library.
  uint32_t count = 0;
  std::vector<device::AlbumRecord> albums;
  EXPECT_EQ(player.wrap().EnumAlbums(count, albums), E_UNEXPECTED);
  EXPECT_EQ(player.wrap().CheckConnectivity(), 0u);
}

TEST(Binding, PlayerWithoutDevicesFailsInitialize) {
  devicetest::StandInPlayer player("devices = 0\n", false);
  EXPECT_EQ(player.wrap().Initialize(nullptr, L"c:\\temp", L"c:\\temp"), E_FAIL);
  EXPECT_TRUE(player.wrap().DeviceName().empty());
  EXPECT_TRUE(player.events().messages.empty());
}

TEST(Binding, LibraryInitializeResultIsKept) {
  devicetest::StandInPlayer player("fail = Initialize 1 0x80070015\n", false);
  EXPECT_EQ(player.wrap().Initialize(nullptr, L"c:\\temp", L"c:\\temp"), HRESULT_FROM_WIN32(ERROR_NOT_READY));
}

// The vtable numbering is what the real library's callers rely on: call by
// slot number, not by name.
TEST(Binding, OperationsSitAtTheirVtablePositions) {
  devicetest::StandInPlayer player;
  device::IPAC* pac = player.wrap().Library();
  ASSERT_NE(pac, nullptr);
  void** vtable = *reinterpret_cast<void***>(pac);
  BSTR name = ::SysAllocString(reinterpret_cast<const wchar_t*>(player.wrap().DeviceName().c_str()));
  using NameCall = HRESULT(STDMETHODCALLTYPE*)(device::IPAC*, BSTR);
  using RootCall = HRESULT(STDMETHODCALLTYPE*)(device::IPAC*, BSTR, ULONG, ULONG*);
  using NoArgs = HRESULT(STDMETHODCALLTYPE*)(device::IPAC*);
  using ConnectedCall = HRESULT(STDMETHODCALLTYPE*)(device::IPAC*, BSTR, ULONG*);
  ULONG connected = 0;
  EXPECT_EQ(reinterpret_cast<ConnectedCall>(vtable[7])(pac, name, &connected), S_OK);
  EXPECT_EQ(connected, 1u);
  EXPECT_EQ(reinterpret_cast<NameCall>(vtable[60])(pac, name), S_OK);
  EXPECT_EQ(player.state().transactionOpen, 1u);
  ULONG root = 0;
  EXPECT_EQ(reinterpret_cast<RootCall>(vtable[84])(pac, name, 1, &root), S_OK);
  EXPECT_EQ(root, 1u);
  ULONG children = 99;
  EXPECT_EQ(reinterpret_cast<RootCall>(vtable[86])(pac, name, root, &children), S_OK);
  EXPECT_EQ(children, 0u);
  EXPECT_EQ(reinterpret_cast<NoArgs>(vtable[97])(pac), E_NOTIMPL);
  EXPECT_EQ(reinterpret_cast<NameCall>(vtable[61])(pac, name), S_OK);
  EXPECT_EQ(player.state().transactionOpen, 0u);
  ::SysFreeString(name);
}

}  // namespace
