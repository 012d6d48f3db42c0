#include "winui/registered_message.h"

namespace winui {

RegisteredMessage::RegisteredMessage(const wchar_t* name)
    : name_(name), id_(name ? ::RegisterWindowMessageW(name) : 0) {}

}  // namespace winui
