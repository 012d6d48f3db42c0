// Every text, the fonts and the copy target the pages show, read once at
// start from the settings file named after the program (sections
// DIALOG_TEXT, MESSAGE and COPY's TARGET).
#pragma once

#include <string>

#include "wizard/profile_reader.h"

namespace wizard {

constexpr char kDialogTextSection[] = "DIALOG_TEXT";
constexpr char kMessageSection[] = "MESSAGE";
// Texts are read into 1024-character buffers with a limit of 1020.
constexpr size_t kTextLimit = 1020;

struct FontSpec {
  int height = 10;
  int charSet = 10;  // low 8 bits of FONT_CHAR_SET
  std::string face;
};

struct PageTexts {
  std::string caption;  // empty: the page's template title
  std::string message;
};

struct UiTexts {
  // Window title of every page and caption of the message boxes.
  std::string title;
  std::string next, back, exit, cancel, done, finish, refresh, toDriveSelection;
  FontSpec bodyFont;
  FontSpec titleFont;  // 4 units taller than the body font

  PageTexts welcome, selectDrive, confirmation, copying, finished, failed;
  std::string noDevice;

  std::string unsupportedOs;   // NT 4, or a 2000/XP delivery on 98/Me
  std::string unsupportedOs2;  // a 98/Me delivery on 2000/XP
  std::string needAdmin;
  std::string abortQuestion;

  int target = 0;  // COPY TARGET: 0 any system, 1 98/Me deliveries, 2 2000/XP deliveries
};

UiTexts LoadUiTexts(ProfileReader& file);

}  // namespace wizard
