#include "app/registered_messages.h"

namespace app::messages {

const winui::RegisteredMessage kMediumChanged(L"MediumChanged");
const winui::RegisteredMessage kRunningState(L"RunningState");
const winui::RegisteredMessage kTransferCompleted(L"TransferCompleted");
const winui::RegisteredMessage kTransferError(L"TransferError");
const winui::RegisteredMessage kOneTrackCompleted(L"OneTrackCompleted");
const winui::RegisteredMessage kOneFolderCreated(L"OneFolderCreated");
const winui::RegisteredMessage kTransferCancelled(L"TransferCancelled");
const winui::RegisteredMessage kMediumDisconnected(L"MediumDisconnected");
const winui::RegisteredMessage kClearListItems(L"ClearListItems");

}  // namespace app::messages
