// What every page looks like: the texts of the settings file, the two
// fonts made from them and the header bitmap. Made once at start and
// shared by the five pages.
#pragma once

#include <windows.h>

#include "win32/unique_gdi.h"
#include "wizard/ui_texts.h"

namespace wizard {

struct WizardLook {
  UiTexts texts;
  win::UniqueFont bodyFont;
  win::UniqueFont titleFont;
  win::UniqueBitmap header;  // bitmap 141

  // Creates the fonts from the texts' font settings and loads the bitmap
  // from module.
  void Create(HINSTANCE module);
  HFONT body() const { return bodyFont.get(); }
  HFONT title() const { return titleFont.get(); }
};

}  // namespace wizard
