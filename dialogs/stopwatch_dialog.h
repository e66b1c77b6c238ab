// "Stopwatch": elapsed and lap times on the window's clock.  Every opening
// starts from zero.
#pragma once

namespace qx {

void stopwatch_dialog();

}  // namespace qx
