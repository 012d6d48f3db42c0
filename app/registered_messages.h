// The nine window messages the track manager's threads and the device
// wrapper post to the main window, registered by name when the program's
// static objects are made. Parameters and handling belong to the main window.
#pragma once

#include "winui/registered_message.h"

namespace app::messages {

extern const winui::RegisteredMessage kMediumChanged;
extern const winui::RegisteredMessage kRunningState;
extern const winui::RegisteredMessage kTransferCompleted;
extern const winui::RegisteredMessage kTransferError;
extern const winui::RegisteredMessage kOneTrackCompleted;
extern const winui::RegisteredMessage kOneFolderCreated;
extern const winui::RegisteredMessage kTransferCancelled;
extern const winui::RegisteredMessage kMediumDisconnected;
extern const winui::RegisteredMessage kClearListItems;

}  // namespace app::messages
