#include "wizard/welcome_page_win32.h"

#include "wizard/deckhand_res.h"

namespace wizard {

WelcomePage::WelcomePage(const WizardLook& look) : WizardPage(IDD_WELCOME_PAGE, look, look.texts.welcome) {}

}  // namespace wizard
