// How a test steers the stand-in pass-through service. The stand-in DLL
// exports these functions by name; a test loads the same DLL that COM
// activates (LoadLibrary of the registered path gives the same module) and
// calls them through GetProcAddress.
#pragma once

#include <windows.h>

#include "stand-ins/scsi_player/scsi_target.h"

namespace passthrough_standin {

struct ServiceStatistics {
  LONG objectsCreated;  // service objects made by the class factory
  LONG liveObjects;
  LONG calls[11];  // calls per method slot (3 to 10 are the service's)
  LONG lastDrive;  // drive index of the last call
};

// The player a drive index reaches (null removes it). The target stays the
// caller's; it must outlive its use.
using AttachDeviceFn = void(WINAPI*)(int drive, scsiplayer::ScsiTarget* device);
// Every service object made so far answers RPC_E_DISCONNECTED from now on,
// as after a restart of the service; new objects work.
using RestartServiceFn = void(WINAPI*)();
// While unavailable, the class factory refuses to make objects
// (CO_E_SERVER_EXEC_FAILURE).
using SetAvailableFn = void(WINAPI*)(BOOL available);
using GetStatisticsFn = void(WINAPI*)(ServiceStatistics* out);
// Clears the counters, the attached devices and the restart marks.
using ResetServiceFn = void(WINAPI*)();

constexpr char kAttachDevice[] = "StandInAttachDevice";
constexpr char kRestartService[] = "StandInRestartService";
constexpr char kSetAvailable[] = "StandInSetAvailable";
constexpr char kGetStatistics[] = "StandInGetStatistics";
constexpr char kResetService[] = "StandInReset";

}  // namespace passthrough_standin
