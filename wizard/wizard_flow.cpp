#include "wizard/wizard_flow.h"

#include "devcmd/admin_level.h"
#include "devcmd/os_kind.h"

namespace wizard {

SystemCheck CheckSystemWithLevel(std::optional<int> osKind, int target, std::optional<int> adminLevel) {
  if (!osKind) return SystemCheck::kSilentFailure;
  switch (*osKind) {
    case osrights::kOsWindows98:
    case osrights::kOsWindowsMe:
      return target == kTargetAny || target == kTargetWindows9x ? SystemCheck::kPass
                                                                : SystemCheck::kUnsupportedOs;
    case osrights::kOsWindowsNt4:
      return SystemCheck::kUnsupportedOs;
    default:
      if (target != kTargetAny && target != kTargetNtFamily) return SystemCheck::kUnsupportedOs2;
      return adminLevel.value_or(osrights::kAdminNone) == osrights::kAdminAdministrators
                 ? SystemCheck::kPass
                 : SystemCheck::kNeedAdmin;
  }
}

Step NextStep(Step step, int result) {
  switch (step) {
    case Step::kWelcome:
      return result == kResultNext ? Step::kSelectDrive : Step::kEnd;
    case Step::kSelectDrive:
      if (result == kResultNext) return Step::kConfirm;
      return result == kResultBack ? Step::kWelcome : Step::kEnd;
    case Step::kConfirm:
      if (result == kResultNext) return Step::kCopying;
      return result == kResultBack ? Step::kSelectDrive : Step::kEnd;
    case Step::kCopying:
      return result == kResultCancel ? Step::kEnd : Step::kFinished;
    case Step::kFinished:
      return result == kResultToDriveSelection ? Step::kSelectDrive : Step::kEnd;
    case Step::kEnd:
      return Step::kEnd;
  }
  return Step::kEnd;
}

}  // namespace wizard
