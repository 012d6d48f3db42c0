#include "wizard/ui_texts.h"

namespace wizard {
namespace {

// The seven texts that must never show empty: an empty value in the file
// counts as missing.
std::string TextOrBuiltIn(ProfileReader& file, const char* key, const char* builtIn) {
  std::string text = file.readText(kDialogTextSection, key, "", kTextLimit);
  return text.empty() ? builtIn : text;
}

// Everything else is shown as read, empty included.
std::string Text(ProfileReader& file, const char* key) {
  return file.readText(kDialogTextSection, key, "", kTextLimit);
}

// Messages fall back only when the key is missing; an empty value is kept.
std::string Message(ProfileReader& file, const char* key, const char* builtIn) {
  return file.readText(kMessageSection, key, builtIn, kTextLimit);
}

}  // namespace

UiTexts LoadUiTexts(ProfileReader& file) {
  UiTexts t;
  t.title = TextOrBuiltIn(file, "MAIN_TITLE", "Pellmark Update");
  t.next = TextOrBuiltIn(file, "BUTTON_NEXT", "Next");
  t.back = TextOrBuiltIn(file, "BUTTON_BACK", "Prev");
  t.exit = TextOrBuiltIn(file, "BUTTON_EXIT", "Exit");
  t.cancel = TextOrBuiltIn(file, "BUTTON_CANCEL", "Cancel");
  t.done = TextOrBuiltIn(file, "BUTTON_DONE", "Done");
  t.finish = TextOrBuiltIn(file, "BUTTON_FINISH", "Finish");
  t.refresh = Text(file, "BUTTON_REFRESH");
  t.toDriveSelection = Text(file, "BUTTON_TO_SEL_DRV");

  t.bodyFont.height = file.readInt(kDialogTextSection, "FONT_SIZE", 10);
  t.bodyFont.charSet = file.readInt(kDialogTextSection, "FONT_CHAR_SET", 10) & 0xFF;
  t.bodyFont.face = Text(file, "FONT_NAME");
  t.titleFont = t.bodyFont;
  t.titleFont.height = t.bodyFont.height + 4;

  t.welcome = {Text(file, "DLG_CAP_WELCOME"), Text(file, "DLG_MSG_WELCOME")};
  t.selectDrive = {Text(file, "DLG_CAP_SEL_DRV"), Text(file, "DLG_MSG_SEL_DRV")};
  t.noDevice = Text(file, "DLG_MSG_NO_DEVICE");
  t.confirmation = {Text(file, "DLG_CAP_CONFIRMATION"), Text(file, "DLG_MSG_CONFIRMATION")};
  t.copying = {Text(file, "DLG_CAP_COPYING"), Text(file, "DLG_MSG_COPYING")};
  t.finished = {Text(file, "DLG_CAP_FINISHED"), Text(file, "DLG_MSG_FINISHED1")};
  t.failed = {Text(file, "DLG_CAP_FAILED"), Text(file, "DLG_MSG_FINISHED2")};

  t.unsupportedOs = Message(file, "MSG_UNSUPPORT_OS", "Need Windows XP or Windows 2000.");
  t.unsupportedOs2 = Message(file, "MSG_UNSUPPORT_OS2", "Need Windows 98 or Windows Me.");
  t.needAdmin = Message(file, "MSG_NEED_ADMIN", "Need logon by Administrator.");
  t.abortQuestion = Message(file, "MSG_ABORT_CHECK", "Will you cancel to copy ?");

  t.target = file.readInt("COPY", "TARGET", 0);
  return t;
}

}  // namespace wizard
