#include "ui/copy_buttons.h"

namespace pigmora {

void CopyBoxText(Form& form, Desktop& desktop, Control box) {
    desktop.SetClipboardText(form.Text(box));
}

void OpenDonationPage(Form&, Desktop& desktop, Control) { desktop.OpenWebPage(kDonationAddress); }

}  // namespace pigmora
