#pragma once

namespace testing_support {

// Keeps back what the offscreen platform says it cannot do (raise a window,
// and so on) on every show, and the runtime folder it finds missing: no
// news to a test or a benchmark. Other messages go on as usual.
void quietOffscreenMessages();

} // namespace testing_support
