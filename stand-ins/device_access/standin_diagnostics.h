// A second interface of the simulated player's object, beside IPAC, through
// which tests see what the player saw: whether a transaction or an export
// is still open, how many calls broke the library's rules, how many blocks
// the caller has not freed. The real library has nothing of the kind.
#pragma once

#include <unknwn.h>
#include <windows.h>

namespace standin {

// {6B1E3F52-7C0A-4D2B-9E61-3A4F5C8D2B17}
inline constexpr IID kIidPlayerStandIn = {
    0x6B1E3F52, 0x7C0A, 0x4D2B, {0x9E, 0x61, 0x3A, 0x4F, 0x5C, 0x8D, 0x2B, 0x17}};

struct StandInState {
  ULONG initialized;
  ULONG disconnected;
  ULONG transactionOpen;
  ULONG exportOpen;
  ULONG transactionsStarted;
  ULONG callerErrors;
  ULONG injectedFaults;
  LONG outstandingBlocks;     // task-memory blocks handed out, not yet freed
  ULONGLONG lastExportTotal;  // bytes the latest export announced
  WCHAR folder[MAX_PATH];     // the player folder
};

struct IPlayerStandIn : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetState(StandInState* state) = 0;
};

}  // namespace standin
