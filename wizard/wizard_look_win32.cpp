#include "wizard/wizard_look_win32.h"

#include "wizard/deckhand_res.h"

namespace wizard {
namespace {

// The pitch-and-family byte the wizard has always asked for.
constexpr DWORD kPitchAndFamily = 4;

HFONT MakeFont(const FontSpec& font) {
  return ::CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       static_cast<BYTE>(font.charSet & 0xFF), OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       PROOF_QUALITY, kPitchAndFamily, font.face.c_str());
}

}  // namespace

void WizardLook::Create(HINSTANCE module) {
  bodyFont.reset(MakeFont(texts.bodyFont));
  titleFont.reset(MakeFont(texts.titleFont));
  header.reset(::LoadBitmapW(module, MAKEINTRESOURCEW(IDB_HEADER)));
}

}  // namespace wizard
