#pragma once

// How the process's heap hands memory back to the system. Called once at
// start, before anything large is allocated.

namespace rt {

void setHeapPolicy();

} // namespace rt
