// The wizard's decisions between pages: the start-up check of the system
// and the rights, and which page follows which result.
#pragma once

#include <optional>

#include "common/hresult.h"

namespace wizard {

// Page results.
constexpr int kResultNext = 1;
constexpr int kResultCancel = 2;
constexpr int kResultBack = 100;
constexpr int kResultToDriveSelection = 200;

// COPY TARGET values.
constexpr int kTargetAny = 0;
constexpr int kTargetWindows9x = 1;
constexpr int kTargetNtFamily = 2;

enum class SystemCheck {
  kPass,
  kUnsupportedOs,   // MSG_UNSUPPORT_OS: NT 4, or a 2000/XP delivery on 98/Me
  kUnsupportedOs2,  // MSG_UNSUPPORT_OS2: a 98/Me delivery on an NT-family system
  kNeedAdmin,       // MSG_NEED_ADMIN
  kSilentFailure,   // the version could not be read: end without a word
};

// adminLevel is asked only where the rule needs it (it reads the token).
template <class AdminLevelFn>
SystemCheck CheckSystem(std::optional<int> osKind, int target, AdminLevelFn adminLevel);

// Back from the drive selection shows the welcome page again: kWelcome.
enum class Step { kWelcome, kSelectDrive, kConfirm, kCopying, kFinished, kEnd };

// The step after a page of step ended with result. For kCopying the result
// is the page's own (1 when the copy ended, whatever its code; 2 when the
// user left the page), never the copy's code, so that a copy failing with
// the Windows error 2 still reaches the finished page.
Step NextStep(Step step, int result);

// ---- implementation -------------------------------------------------------

SystemCheck CheckSystemWithLevel(std::optional<int> osKind, int target, std::optional<int> adminLevel);

template <class AdminLevelFn>
SystemCheck CheckSystem(std::optional<int> osKind, int target, AdminLevelFn adminLevel) {
  const bool needsLevel = osKind && *osKind != 3 && *osKind != 4 && *osKind != 5 &&
                          (target == kTargetAny || target == kTargetNtFamily);
  return CheckSystemWithLevel(osKind, target, needsLevel ? std::optional<int>(adminLevel()) : std::nullopt);
}

}  // namespace wizard
