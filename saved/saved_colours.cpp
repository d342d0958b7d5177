#include "saved/saved_colours.h"

#include <algorithm>

namespace pigmora {

namespace {

// Only a number written exactly as the readout writes it counts as a picked colour: an empty
// box, leading zeros, blanks or a sign mean the user has not picked one (or has typed over it).
bool HoldsPlainDecimal(const std::string& text) {
    return DecimalText(ParseDecimalText(text)) == text;
}

const Control* FirstEmptySlot(Form& form) {
    auto found = std::find_if(std::begin(kSlots), std::end(kSlots),
                              [&](Control slot) { return form.BackColor(slot) == kEmptySlot; });
    return found == std::end(kSlots) ? nullptr : found;
}

}  // namespace

std::string_view SlotRegistryPath(Control slot) {
    switch (slot) {
        case Control::取色_颜色1: return "SOFTWARE\\Quov\\Tallowin\\ColorSave1";
        case Control::取色_颜色2: return "SOFTWARE\\Quov\\Tallowin\\ColorSave2";
        case Control::取色_颜色3: return "SOFTWARE\\Quov\\Tallowin\\ColorSave3";
        case Control::取色_颜色4: return "SOFTWARE\\Quov\\Tallowin\\ColorSave4";
        case Control::取色_颜色5: return "SOFTWARE\\Quov\\Tallowin\\ColorSave5";
        default: return {};
    }
}

void SaveCurrentColor(Form& form, Desktop& desktop, Control) {
    if (!HoldsPlainDecimal(form.Text(Control::取色_10进制))) return;
    const Control* target = FirstEmptySlot(form);
    if (!target) {
        desktop.ShowMessageBox(desktop.NativeHandleOf(Control::MainWindow), kSlotsFullText,
                               kSlotsFullCaption,
                               kMessageBoxOk | kMessageBoxIconExclamation | kMessageBoxSystemModal);
        return;
    }
    // The colour comes from the swatch, not from the number in the box.
    form.SetBackColor(*target, form.BackColor(Control::取色_当前色));
    desktop.RegistryWriteValue(RegistryRoot::LocalMachine, SlotRegistryPath(*target),
                               form.BackColor(Control::取色_当前色));
}

void UseSlotAsComparison(Form& form, Desktop&, Control slot) {
    const ColorValue saved = form.BackColor(slot);
    if (saved != kEmptySlot) form.SetBackColor(Control::取色_对比色, saved);
}

void ClearSlot(Form& form, Desktop& desktop, Control slot) {
    desktop.RegistryDeleteValue(RegistryRoot::LocalMachine, SlotRegistryPath(slot));
    form.SetBackColor(slot, kEmptySlot);
}

}  // namespace pigmora
