#pragma once
// Key strokes travel as Windows virtual key codes with Shift, Ctrl and Alt flags, to the host's
// shortcuts and to the editor's key mappings alike. This is the one place that makes them
// from Qt's key events.

#include <cstdint>

#include "host/abi/virtual_key_codes.h"

class QKeyEvent;

namespace tarnwick {

struct TVirtualKey {
    int32_t code = 0;  // VK_* number; 0 when the key has none
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

TVirtualKey TranslateKeyEvent(const QKeyEvent& event);

}  // namespace tarnwick
