// The program's user-visible texts: numbered messages in the message table
// of a message module (a resource-only DLL), in language 0x0411. Every
// Win32 part of the track manager asks for its texts here, and shows its
// message boxes through ShowMessage, whose caption is always message 4096.
#pragma once

#include <windows.h>

#include <string>

namespace winui {

constexpr WORD kMessageLanguage = 0x0411;
constexpr DWORD kCaptionMessageId = 4096;

// The module the texts come from; null (the default) makes every text empty.
// The caller keeps the module loaded while texts are asked for.
void SetMessageModule(HMODULE module);
HMODULE MessageModule();

// The text of message id, without the line break the message compiler puts
// at its end; empty when there is no module or no such text. Texts are
// taken as they are: a '%' in a text is not an insert.
std::wstring MessageText(DWORD id);

// A message box with text message id and caption message 4096. type as for
// MessageBox (MB_OK, MB_OKCANCEL | MB_ICONQUESTION, ...). Returns the button
// pressed (IDOK, IDCANCEL, ...), 0 when the box could not be shown.
int ShowMessage(HWND owner, DWORD id, UINT type = MB_OK);
// The same with a text made by the caller.
int ShowMessageText(HWND owner, const std::wstring& text, UINT type = MB_OK);

}  // namespace winui
