// The editor view with its properties published; the editor window's control derives from it.
#pragma once

#include "textengine/view/custom_dc_memo.h"

namespace tarnwick {

class TDCMemo : public TCustomDCMemo {
public:
    using TCustomDCMemo::TCustomDCMemo;
};

}  // namespace tarnwick
