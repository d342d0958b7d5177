#pragma once

#include <string_view>

#include "ui/events.h"

namespace pigmora {

// The page the donation label opens.
inline constexpr std::string_view kDonationAddress = "https://pigmora.example.org/donate";

// Puts the text of the box (as it stands, typed text included) on the clipboard.
void CopyBoxText(Form& form, Desktop& desktop, Control box);

// Opens the donation page, on every press of either button.
void OpenDonationPage(Form& form, Desktop& desktop, Control label);

}  // namespace pigmora
