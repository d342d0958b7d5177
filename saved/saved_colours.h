// The five saved-colour slots and their registry mirror.
#pragma once

#include <string_view>

#include "ui/events.h"

namespace pigmora {

inline constexpr ColorValue kEmptySlot = -1;

inline constexpr Control kSlots[] = {Control::取色_颜色1, Control::取色_颜色2, Control::取色_颜色3,
                                     Control::取色_颜色4, Control::取色_颜色5};

// HKEY_LOCAL_MACHINE path of the value that mirrors the slot.
std::string_view SlotRegistryPath(Control slot);

inline constexpr std::string_view kSlotsFullText =
    "颜色保存区没有空位了，请右键删除一个颜色再尝试保存！";
inline constexpr std::string_view kSlotsFullCaption = "提示";

void SaveCurrentColor(Form& form, Desktop& desktop, Control button);
void UseSlotAsComparison(Form& form, Desktop& desktop, Control slot);
void ClearSlot(Form& form, Desktop& desktop, Control slot);

}  // namespace pigmora
