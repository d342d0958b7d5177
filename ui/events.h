// What a bound event calls: one handler, given the control it works on.
#pragma once

#include "platform/desktop.h"
#include "ui/form.h"

namespace pigmora {

using Handler = void (*)(Form& form, Desktop& desktop, Control subject);

struct Events {
    Handler leftDown = nullptr;
    Handler leftUp = nullptr;
    Handler rightDown = nullptr;
    Handler rightUp = nullptr;
    Handler mouseMove = nullptr;
    Handler clicked = nullptr;
    Handler positionChanged = nullptr;
};

}  // namespace pigmora
